#include "CSV/CSVWriter.h"

namespace csv {

namespace {

// The scalar at the start of well-formed UTF-8 text.
char32_t firstScalar(std::string_view text)
{
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t valid = unicode::validPrefixLength(p, std::min<std::size_t>(text.size(), 4));
    if (valid == 0)
        return unicode::replacementCharacter;
    return unicode::decodeValid(p, unicode::sequenceLength(p[0]));
}

} // namespace

CSVWriter::Configuration::Configuration(std::string delimiter, Newline newline)
    : delimiter(std::move(delimiter)), newline(newline == Newline::lf ? "\n" : "\r\n")
{
}

CSVWriter::CSVWriter(std::shared_ptr<OutputStream> stream, Encoding encoding, Endian endian, std::string delimiter,
                     Newline newline)
    : stream_(std::move(stream))
    , configuration_(std::move(delimiter), newline)
    , encoding_(encoding)
    , bigEndian_(endian == Endian::big)
{
    if (!stream_ || !openIfNeeded(*stream_))
        throw CSVError(CSVError::Kind::cannotOpenFile);
}

CSVWriter::CSVWriter(std::shared_ptr<OutputStream> stream, std::string delimiter, Newline newline)
    : CSVWriter(std::move(stream), Encoding::utf8, Endian::unknown, std::move(delimiter), newline)
{
}

CSVWriter::CSVWriter(std::shared_ptr<OutputStream> stream, UTF8, std::string delimiter, Newline newline)
    : CSVWriter(std::move(stream), Encoding::utf8, Endian::unknown, std::move(delimiter), newline)
{
}

CSVWriter::CSVWriter(std::shared_ptr<OutputStream> stream, UTF16, Endian endian, std::string delimiter,
                     Newline newline)
    : CSVWriter(std::move(stream), Encoding::utf16, endian, std::move(delimiter), newline)
{
}

CSVWriter::CSVWriter(std::shared_ptr<OutputStream> stream, UTF32, Endian endian, std::string delimiter,
                     Newline newline)
    : CSVWriter(std::move(stream), Encoding::utf32, endian, std::move(delimiter), newline)
{
}

CSVWriter::~CSVWriter()
{
    if (stream_ && stream_->streamStatus() == StreamStatus::open)
        stream_->close();
}

void CSVWriter::beginNewRow() { isFirstField_ = true; }

void CSVWriter::writeField(std::string_view field, bool quoted)
{
    appendField(field, quoted);
    flush();
}

void CSVWriter::writeRow(const std::vector<std::string>& row, const std::function<bool(std::size_t)>& quotedAtIndex)
{
    beginNewRow();
    // One empty field alone would be an empty line, which vanishes at the
    // end of the output: quote it.
    const bool loneEmptyField = row.size() == 1 && row[0].empty();
    for (std::size_t i = 0; i < row.size(); ++i)
        appendField(row[i], loneEmptyField || (quotedAtIndex && quotedAtIndex(i)));
    flush();
}

void CSVWriter::appendField(std::string_view field, bool quoted)
{
    const bool atStartOfOutput = isFirstRow_;
    if (isFirstRow_)
        isFirstRow_ = false;
    else if (isFirstField_)
        appendText(configuration_.newline);
    if (isFirstField_)
        isFirstField_ = false;
    else
        appendText(configuration_.delimiter);

    const auto holds = [field](std::string_view s) { return !s.empty() && field.find(s) != field.npos; };
    // A comma is quoted only as the delimiter: a semicolon or tab file that
    // a spreadsheet program wrote leaves "Rock, Pop" bare, and a rewrite
    // keeps it so.
    quoted = quoted || field.find_first_of("\"\r\n") != field.npos || holds(configuration_.delimiter);
    if (!quoted && atStartOfOutput && !field.empty()) {
        // Output that began with U+0000, U+FEFF or U+FFFE could read as a
        // byte-order mark and lose its first scalars (or fail to read).
        const char32_t c = firstScalar(field);
        quoted = c == 0 || c == 0xFEFF || c == 0xFFFE;
    }
    if (!quoted) {
        appendText(field);
        return;
    }
    appendScalar(DQUOTE);
    std::size_t start = 0;
    for (std::size_t quote = field.find('"'); quote != field.npos; quote = field.find('"', start)) {
        appendText(field.substr(start, quote + 1 - start));
        appendScalar(DQUOTE);
        start = quote + 1;
    }
    appendText(field.substr(start));
    appendScalar(DQUOTE);
}

void CSVWriter::appendText(std::string_view utf8)
{
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    const std::size_t n = utf8.size();
    if (encoding_ == Encoding::utf8) {
        std::size_t i = 0;
        while (i < n) {
            const std::size_t valid = unicode::validPrefixLength(p + i, n - i);
            pending_.append(utf8.substr(i, valid));
            i += valid;
            if (i < n) {
                // Skip one maximal ill-formed subpart, as the decoder would.
                const unsigned char lead = p[i++];
                const int length = unicode::sequenceLength(lead);
                for (int k = 1; k < length && i < n; ++k) {
                    const unsigned char lo = k == 1 ? unicode::secondByteMin(lead) : 0x80;
                    const unsigned char hi = k == 1 ? unicode::secondByteMax(lead) : 0xBF;
                    if (p[i] < lo || p[i] > hi)
                        break;
                    ++i;
                }
                unicode::appendUTF8(pending_, unicode::replacementCharacter);
            }
        }
        return;
    }
    const std::string text = unicode::repairedUTF8(std::string(utf8));
    const auto* t = reinterpret_cast<const unsigned char*>(text.data());
    for (std::size_t i = 0; i < text.size();) {
        const int length = unicode::sequenceLength(t[i]);
        appendScalar(unicode::decodeValid(t + i, length));
        i += static_cast<std::size_t>(length);
    }
}

void CSVWriter::appendScalar(char32_t c)
{
    const auto put = [this](std::uint32_t unit, int bytes) {
        for (int k = 0; k < bytes; ++k) {
            const int shift = bigEndian_ ? 8 * (bytes - 1 - k) : 8 * k;
            pending_.push_back(static_cast<char>((unit >> shift) & 0xFF));
        }
    };
    switch (encoding_) {
    case Encoding::utf8:
        unicode::appendUTF8(pending_, c);
        break;
    case Encoding::utf16:
        if (c >= 0x10000) {
            put(0xD800 + ((c - 0x10000) >> 10), 2);
            put(0xDC00 + ((c - 0x10000) & 0x3FF), 2);
        } else {
            put(c, 2);
        }
        break;
    case Encoding::utf32:
        put(c, 4);
        break;
    }
}

void CSVWriter::flush()
{
    if (pending_.empty())
        return;
    const std::ptrdiff_t written
        = stream_->write(reinterpret_cast<const std::uint8_t*>(pending_.data()), pending_.size());
    const bool complete = written >= 0 && static_cast<std::size_t>(written) == pending_.size();
    pending_.clear();
    if (!complete)
        throw CSVError(CSVError::Kind::cannotWriteStream);
}

} // namespace csv
