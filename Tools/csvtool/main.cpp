// csvtool: look at CSV files, compare parsers, write CSV.
//
//   csvtool [--encoding E] [--delimiter C] [--trim] [--header] [--count] [--string] [--strings] [FILE]
//   csvtool --write [--encoding E] [--delimiter S] [--newline lf|crlf]
//
// Exit codes: 0 success; 1 usage, construction or write error; 2 an error
// while reading (reported after the rows).

#include "JsonLines.h"
#include "MappedFile.h"
#include "ToolStreams.h"

#include "CSV/CSVReader.h"
#include "CSV/CSVWriter.h"
#include "CSV/FileStreams.h"
#include "CSV/UnicodeBOM.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

constexpr const char* usage = R"(usage:
  csvtool [--encoding E] [--delimiter C] [--trim] [--header] [FILE]
      Reads FILE (or standard input) and prints each row as one JSON array
      of strings per line; with --header the header row comes first.
  csvtool --count [options as above] [FILE]
      Only parses; prints "<rows> <fields>" (with --header the header row
      counts too).
  csvtool --string [options as above] [FILE]
      Parses the input as one string (UTF-8 only; a leading byte-order mark
      is then part of the text): a regular file is mapped into memory and
      read in place, anything else is read into memory first.
  csvtool --write [--encoding E] [--delimiter S] [--newline lf|crlf]
      Reads JSON arrays of strings, one per line, from standard input and
      writes them as CSV to standard output.

  --encoding E   utf8 (default), utf16, utf16le, utf16be, utf32, utf32le,
                 utf32be. Reading utf16/utf32 takes the byte order from the
                 byte-order mark, big-endian without one; writing them is
                 big-endian. No byte-order mark is ever written.
  --delimiter C  the field delimiter, one character (default ","); "\t" or
                 "tab" for a tab. For --write any string.
  --trim         trim whitespace around fields.
  --header       the first row is a header row (an input without any row is
                 then an error: cannotReadHeaderRow).
  --strings      read each row as a vector of strings (the reader's next())
                 rather than as views of its fields (nextFields()); the
                 output is the same. For comparing the two.
  --help         this text.

Errors: a failure to start reading prints the error's name (for example
cannotOpenFile) and exits 1. Undecodable text ends the row it is in and
reading goes on after it; a failing stream ends the input. Either way the
last error is printed as "error: <name>" after the rows and the exit code
is 2. Bad JSON for --write exits 1.
)";

enum class Encoding { utf8, utf16, utf16le, utf16be, utf32, utf32le, utf32be };

struct Options {
    Encoding encoding = Encoding::utf8;
    std::string delimiter = ",";
    bool trim = false;
    bool header = false;
    bool count = false;
    bool string = false;
    bool strings = false;
    bool write = false;
    csv::CSVWriter::Newline newline = csv::CSVWriter::Newline::lf;
    std::string file;
};

[[noreturn]] void usageError(const std::string& message)
{
    std::cerr << "csvtool: " << message << "\n(see csvtool --help)\n";
    std::exit(1);
}

std::optional<Encoding> parseEncoding(std::string_view name)
{
    static constexpr std::pair<std::string_view, Encoding> names[] = {
        {"utf8", Encoding::utf8},       {"utf16", Encoding::utf16},     {"utf16le", Encoding::utf16le},
        {"utf16be", Encoding::utf16be}, {"utf32", Encoding::utf32},     {"utf32le", Encoding::utf32le},
        {"utf32be", Encoding::utf32be},
    };
    for (const auto& [n, e] : names)
        if (n == name)
            return e;
    return std::nullopt;
}

std::string unescapeDelimiter(std::string text)
{
    if (text == "\\t" || text == "tab")
        return "\t";
    return text;
}

Options parseArguments(int argc, char** argv)
{
    Options options;
    bool sawFile = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const auto value = [&]() -> std::string {
            if (i + 1 >= argc)
                usageError(std::string(arg) + " needs a value");
            return argv[++i];
        };
        if (arg == "--help" || arg == "-h") {
            std::cout << usage;
            std::exit(0);
        } else if (arg == "--encoding") {
            const std::string name = value();
            const auto encoding = parseEncoding(name);
            if (!encoding)
                usageError("unknown encoding '" + name + "'");
            options.encoding = *encoding;
        } else if (arg == "--delimiter") {
            options.delimiter = unescapeDelimiter(value());
        } else if (arg == "--newline") {
            const std::string name = value();
            if (name == "lf")
                options.newline = csv::CSVWriter::Newline::lf;
            else if (name == "crlf")
                options.newline = csv::CSVWriter::Newline::crlf;
            else
                usageError("--newline takes lf or crlf");
        } else if (arg == "--trim") {
            options.trim = true;
        } else if (arg == "--header") {
            options.header = true;
        } else if (arg == "--count") {
            options.count = true;
        } else if (arg == "--string") {
            options.string = true;
        } else if (arg == "--strings") {
            options.strings = true;
        } else if (arg == "--write") {
            options.write = true;
        } else if (arg == "-" || !arg.starts_with("-")) {
            if (sawFile)
                usageError("more than one input file");
            sawFile = true;
            options.file = arg == "-" ? "" : std::string(arg);
        } else {
            usageError("unknown option '" + std::string(arg) + "'");
        }
    }
    if (options.write && (options.trim || options.header || options.count || options.string || options.strings || sawFile))
        usageError("--write reads standard input and takes only --encoding, --delimiter and --newline");
    if (options.delimiter.empty())
        usageError("--delimiter must not be empty");
    if (options.string && options.encoding != Encoding::utf8)
        usageError("--string reads UTF-8 only");
    return options;
}

// The delimiter of a reader: exactly one scalar.
char32_t readerDelimiter(const std::string& text)
{
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const int length = text.empty() ? 0 : csv::unicode::sequenceLength(p[0]);
    if (length == 0 || static_cast<std::size_t>(length) != text.size()
        || csv::unicode::validPrefixLength(p, text.size()) != text.size())
        usageError("--delimiter must be one character");
    return csv::unicode::decodeValid(p, length);
}

std::shared_ptr<csv::InputStream> inputStream(const Options& options)
{
    if (options.file.empty())
        return std::make_shared<csv::FileDescriptorInputStream>(STDIN_FILENO);
    return std::make_shared<csv::FileInputStream>(options.file);
}

// For utf16/utf32 without a stated byte order: the mark decides, else big.
std::pair<std::shared_ptr<csv::InputStream>, csv::Endian> sniffByteOrder(std::shared_ptr<csv::InputStream> stream)
{
    if (stream->streamStatus() == csv::StreamStatus::notOpen)
        stream->open();
    if (stream->streamStatus() != csv::StreamStatus::open)
        throw csv::CSVError(csv::CSVError::Kind::cannotOpenFile);
    std::string head(4, '\0');
    std::size_t got = 0;
    while (got < head.size()) {
        const std::ptrdiff_t n = stream->read(reinterpret_cast<std::uint8_t*>(head.data()) + got, head.size() - got);
        if (n < 0)
            throw csv::CSVError(csv::CSVError::Kind::cannotReadFile);
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    head.resize(got);
    const auto mark = csv::UnicodeBOM::detect({reinterpret_cast<const std::uint8_t*>(head.data()), head.size()});
    const csv::Endian endian = mark && mark->endian != csv::Endian::unknown ? mark->endian : csv::Endian::big;
    return {std::make_shared<csvtool::PrefixedInputStream>(std::move(head), std::move(stream)), endian};
}

// mapping receives the memory map the reader reads, if there is one: it must
// outlive the reader.
csv::CSVReader makeReader(const Options& options, std::optional<csvtool::MappedFile>& mapping)
{
    const char32_t delimiter = readerDelimiter(options.delimiter);
    const csv::CSVReader::Configuration configuration(options.header, options.trim, delimiter);
    if (options.string && !options.file.empty() && (mapping = csvtool::MappedFile::map(options.file)))
        return csv::CSVReader(csv::CSVReader::borrowed, mapping->text(), options.header, options.trim, delimiter);
    if (options.string) {
        auto stream = inputStream(options);
        stream->open();
        if (stream->streamStatus() != csv::StreamStatus::open)
            throw csv::CSVError(csv::CSVError::Kind::cannotOpenFile);
        // The bytes as they are: for the string reader a leading U+FEFF is text.
        std::string text;
        std::size_t used = 0;
        text.resize(1 << 20);
        for (;;) {
            if (used == text.size())
                text.resize(text.size() * 2);
            const std::ptrdiff_t n = stream->read(reinterpret_cast<std::uint8_t*>(text.data()) + used,
                                                  text.size() - used);
            if (n < 0)
                throw csv::CSVError(csv::CSVError::Kind::cannotReadFile);
            if (n == 0)
                break;
            used += static_cast<std::size_t>(n);
        }
        text.resize(used);
        return csv::CSVReader(std::move(text), options.header, options.trim, delimiter);
    }
    auto stream = inputStream(options);
    const auto endianFor = [&](csv::Endian stated) {
        if (stated != csv::Endian::unknown)
            return stated;
        auto [sniffed, endian] = sniffByteOrder(stream);
        stream = sniffed;
        return endian;
    };
    const auto reader = [&](auto codec, csv::Endian endian) {
        return csv::CSVReader(csv::BinaryReader::make(stream, endian, true), codec, configuration);
    };
    switch (options.encoding) {
    case Encoding::utf8: return reader(csv::UTF8 {}, csv::Endian::unknown);
    case Encoding::utf16: return reader(csv::UTF16 {}, endianFor(csv::Endian::unknown));
    case Encoding::utf16le: return reader(csv::UTF16 {}, csv::Endian::little);
    case Encoding::utf16be: return reader(csv::UTF16 {}, csv::Endian::big);
    case Encoding::utf32: return reader(csv::UTF32 {}, endianFor(csv::Endian::unknown));
    case Encoding::utf32le: return reader(csv::UTF32 {}, csv::Endian::little);
    case Encoding::utf32be: return reader(csv::UTF32 {}, csv::Endian::big);
    }
    return reader(csv::UTF8 {}, csv::Endian::unknown);
}

class Output {
public:
    ~Output() { flush(); }
    std::string& text() { return buffer_; }
    void maybeFlush()
    {
        if (buffer_.size() >= (1 << 16))
            flush();
    }
    void flush()
    {
        if (!buffer_.empty() && std::fwrite(buffer_.data(), 1, buffer_.size(), stdout) != buffer_.size()) {
            std::cerr << "csvtool: cannot write to standard output\n";
            std::exit(1);
        }
        buffer_.clear();
        std::fflush(stdout);
    }

private:
    std::string buffer_;
};

int readCommand(const Options& options)
{
    std::optional<csvtool::MappedFile> mapping;
    std::optional<csv::CSVReader> reader;
    try {
        reader.emplace(makeReader(options, mapping));
    } catch (const csv::CSVError& error) {
        std::cerr << error.caseName() << '\n';
        return 1;
    }
    std::uint64_t rows = 0;
    std::uint64_t fields = 0;
    Output out;
    if (options.header && reader->headerRow()) {
        ++rows;
        fields += reader->headerRow()->size();
        if (!options.count) {
            csvtool::appendJsonArray(out.text(), *reader->headerRow());
            out.text() += '\n';
        }
    }
    // Both ways of reading give the same rows; views need no string per field.
    std::vector<std::string_view> views;
    const auto nextRow = [&]() -> std::optional<csv::CSVReader::Fields> {
        if (!options.strings)
            return reader->nextFields();
        const auto& row = reader->next();
        if (!row)
            return std::nullopt;
        views.assign(row->begin(), row->end());
        return csv::CSVReader::Fields(views);
    };
    for (;;) {
        const std::size_t errorsBefore = reader->errorCount();
        const auto row = nextRow();
        if (!row) {
            // Past undecodable text reading goes on; a failing stream or
            // the end stops it.
            const auto& error = reader->error();
            const bool decodingError = reader->errorCount() != errorsBefore
                && error->kind() != csv::CSVError::Kind::streamErrorHasOccurred
                && error->kind() != csv::CSVError::Kind::cannotReadFile;
            if (decodingError)
                continue;
            break;
        }
        ++rows;
        fields += row->size();
        if (!options.count) {
            csvtool::appendJsonArray(out.text(), *row);
            out.text() += '\n';
            out.maybeFlush();
        }
    }
    if (options.count)
        out.text() += std::to_string(rows) + ' ' + std::to_string(fields) + '\n';
    out.flush();
    if (const auto& error = reader->error()) {
        std::cerr << "error: " << error->caseName() << '\n';
        return 2;
    }
    return 0;
}

int writeCommand(const Options& options)
{
    auto stdoutStream = std::make_shared<csv::FileDescriptorOutputStream>(STDOUT_FILENO);
    auto buffered = std::make_shared<csvtool::BufferedOutputStream>(stdoutStream);
    std::optional<csv::CSVWriter> writer;
    try {
        const auto& d = options.delimiter;
        const auto n = options.newline;
        switch (options.encoding) {
        case Encoding::utf8: writer.emplace(buffered, csv::UTF8 {}, d, n); break;
        case Encoding::utf16:
        case Encoding::utf16be: writer.emplace(buffered, csv::UTF16 {}, csv::Endian::big, d, n); break;
        case Encoding::utf16le: writer.emplace(buffered, csv::UTF16 {}, csv::Endian::little, d, n); break;
        case Encoding::utf32:
        case Encoding::utf32be: writer.emplace(buffered, csv::UTF32 {}, csv::Endian::big, d, n); break;
        case Encoding::utf32le: writer.emplace(buffered, csv::UTF32 {}, csv::Endian::little, d, n); break;
        }
    } catch (const csv::CSVError& error) {
        std::cerr << error.caseName() << '\n';
        return 1;
    }
    std::string line;
    std::string message;
    std::uint64_t lineNumber = 0;
    while (std::getline(std::cin, line)) {
        ++lineNumber;
        const auto row = csvtool::parseJsonArray(line, message);
        if (!row) {
            buffered->flush();
            std::cerr << "csvtool: line " << lineNumber << ": bad JSON array of strings: " << message << '\n';
            return 1;
        }
        try {
            writer->writeRow(*row);
        } catch (const csv::CSVError& error) {
            std::cerr << error.caseName() << '\n';
            return 1;
        }
    }
    if (!buffered->flush()) {
        std::cerr << csv::CSVError::caseName(csv::CSVError::Kind::cannotWriteStream) << '\n';
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    const Options options = parseArguments(argc, argv);
    return options.write ? writeCommand(options) : readCommand(options);
}
