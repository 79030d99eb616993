#include "CSV/CSVReader.h"

#include "CSV/CSVParser.h"
#include "CSV/TextSources.h"

#include <cstdio>
#include <cstdlib>

namespace csv {

struct CSVReader::State {
    explicit State(Configuration c) : configuration(std::move(c)) {}

    Configuration configuration;
    std::optional<CSVError> error;
    std::size_t errorCount = 0;
    std::optional<Row> headerRow;
    std::optional<Row> currentRow;
    std::unique_ptr<detail::TextSource> source;
    std::optional<detail::RowParser> parser;
    std::optional<detail::SimpleRowParser> simpleParser;

    // nextFields() of the plain machine: the row, and views of it.
    Row simpleRow;
    std::vector<std::string_view> simpleFields;

    bool readRow()
    {
        Row& row = currentRow ? *currentRow : currentRow.emplace();
        if (!parser) {
            if (!simpleParser->readRow(row)) {
                currentRow.reset();
                return false;
            }
            return true;
        }
        if (!parser->readRow()) {
            currentRow.reset();
            return false;
        }
        const auto fields = parser->fields();
        row.resize(fields.size());
        for (std::size_t i = 0; i < fields.size(); ++i)
            row[i].assign(fields[i]);
        return true;
    }

    std::optional<Fields> readFields()
    {
        currentRow.reset();
        if (parser) {
            if (!parser->readRow())
                return std::nullopt;
            return parser->fields();
        }
        if (!simpleParser->readRow(simpleRow))
            return std::nullopt;
        simpleFields.assign(simpleRow.begin(), simpleRow.end());
        return Fields(simpleFields);
    }

    // Reads the header row if there is to be one.
    void start()
    {
        if (!configuration.hasHeaderRow)
            return;
        if (!readRow())
            throw CSVError(CSVError::Kind::cannotReadHeaderRow);
        headerRow = std::move(currentRow);
        currentRow.reset();
    }
};

namespace {

[[noreturn]] void stop(const char* message)
{
    std::fprintf(stderr, "%s\n", message);
    std::fflush(stderr);
    std::abort();
}

std::unique_ptr<CSVReader::State> fastState(CSVReader::Configuration configuration,
                                            std::unique_ptr<detail::TextSource> source)
{
    auto state = std::make_unique<CSVReader::State>(std::move(configuration));
    state->source = std::move(source);
    state->parser.emplace(state->configuration, *state->source);
    return state;
}

template <class Codec>
std::unique_ptr<CSVReader::State> streamState(std::shared_ptr<BinaryReader> reader,
                                              CSVReader::Configuration configuration)
{
    auto source = std::make_unique<detail::StreamSource<Codec>>(std::move(reader));
    auto* stream = source.get();
    auto state = fastState(std::move(configuration), std::move(source));
    state->start();
    // Errors are recorded from here on: one while reading the header only
    // shortens it (or leaves no header at all).
    auto* s = state.get();
    stream->setErrorHandler([s](const CSVError& error) {
        s->error = error;
        ++s->errorCount;
    });
    return state;
}

std::shared_ptr<BinaryReader> binaryReader(std::shared_ptr<InputStream> stream, Endian endian)
{
    return BinaryReader::make(std::move(stream), endian, true);
}

} // namespace

const Whitespaces& CSVReader::defaultWhitespaces()
{
    static const Whitespaces whitespaces {
        U'\t',     U' ',      U'\u00A0', U'\u1680', U'\u2000', U'\u2001', U'\u2002', U'\u2003', U'\u2004',
        U'\u2005', U'\u2006', U'\u2007', U'\u2008', U'\u2009', U'\u200A', U'\u202F', U'\u205F', U'\u3000',
    };
    return whitespaces;
}

CSVReader::Configuration::Configuration(bool hasHeaderRow, bool trimFields, char32_t delimiter,
                                        Whitespaces whitespaces)
    : hasHeaderRow(hasHeaderRow), trimFields(trimFields), delimiter(delimiter), whitespaces(std::move(whitespaces))
{
    this->whitespaces.erase(delimiter);
}

CSVReader::CSVReader(std::unique_ptr<State> state) : state_(std::move(state)) {}

CSVReader::CSVReader(std::string text, bool hasHeaderRow, bool trimFields, char32_t delimiter,
                     Whitespaces whitespaces)
    : state_(fastState(Configuration(hasHeaderRow, trimFields, delimiter, std::move(whitespaces)),
                       std::make_unique<detail::StringSource>(std::move(text))))
{
    state_->start();
}

CSVReader::CSVReader(Borrowed, std::string_view text, bool hasHeaderRow, bool trimFields, char32_t delimiter,
                     Whitespaces whitespaces)
    : state_(fastState(Configuration(hasHeaderRow, trimFields, delimiter, std::move(whitespaces)),
                       std::make_unique<detail::StringSource>(text)))
{
    state_->start();
}

CSVReader::CSVReader(std::shared_ptr<InputStream> stream, bool hasHeaderRow, bool trimFields, char32_t delimiter,
                     Whitespaces whitespaces)
    : CSVReader(std::move(stream), UTF8 {}, hasHeaderRow, trimFields, delimiter, std::move(whitespaces))
{
}

CSVReader::CSVReader(std::shared_ptr<InputStream> stream, UTF8 codec, bool hasHeaderRow, bool trimFields,
                     char32_t delimiter, Whitespaces whitespaces)
    : CSVReader(binaryReader(std::move(stream), Endian::unknown), codec,
                Configuration(hasHeaderRow, trimFields, delimiter, std::move(whitespaces)))
{
}

CSVReader::CSVReader(std::shared_ptr<InputStream> stream, UTF16 codec, Endian endian, bool hasHeaderRow,
                     bool trimFields, char32_t delimiter, Whitespaces whitespaces)
    : CSVReader(binaryReader(std::move(stream), endian), codec,
                Configuration(hasHeaderRow, trimFields, delimiter, std::move(whitespaces)))
{
}

CSVReader::CSVReader(std::shared_ptr<InputStream> stream, UTF32 codec, Endian endian, bool hasHeaderRow,
                     bool trimFields, char32_t delimiter, Whitespaces whitespaces)
    : CSVReader(binaryReader(std::move(stream), endian), codec,
                Configuration(hasHeaderRow, trimFields, delimiter, std::move(whitespaces)))
{
}

CSVReader::CSVReader(std::shared_ptr<BinaryReader> reader, UTF8, Configuration configuration)
    : state_(streamState<UTF8>(std::move(reader), std::move(configuration)))
{
}

CSVReader::CSVReader(std::shared_ptr<BinaryReader> reader, UTF16, Configuration configuration)
    : state_(streamState<UTF16>(std::move(reader), std::move(configuration)))
{
}

CSVReader::CSVReader(std::shared_ptr<BinaryReader> reader, UTF32, Configuration configuration)
    : state_(streamState<UTF32>(std::move(reader), std::move(configuration)))
{
}

CSVReader::CSVReader(ScalarIterator iterator, Configuration configuration)
    : state_(std::make_unique<State>(std::move(configuration)))
{
    state_->simpleParser.emplace(state_->configuration, std::move(iterator));
    state_->start();
}

CSVReader::CSVReader(CSVReader&&) noexcept = default;
CSVReader& CSVReader::operator=(CSVReader&&) noexcept = default;
CSVReader::~CSVReader() = default;

const std::optional<CSVReader::Row>& CSVReader::next()
{
    state_->readRow();
    return state_->currentRow;
}

std::optional<CSVReader::Fields> CSVReader::nextFields()
{
    return state_->readFields();
}

const std::optional<CSVReader::Row>& CSVReader::currentRow() const { return state_->currentRow; }
const std::optional<CSVReader::Row>& CSVReader::headerRow() const { return state_->headerRow; }
const std::optional<CSVError>& CSVReader::error() const { return state_->error; }
std::size_t CSVReader::errorCount() const { return state_->errorCount; }
const CSVReader::Configuration& CSVReader::configuration() const { return state_->configuration; }

std::optional<std::string> CSVReader::operator[](std::string_view key) const
{
    const auto& header = state_->headerRow;
    if (!header)
        stop("CSVReader.headerRow must not be nil");
    std::size_t index = 0;
    while (index < header->size() && (*header)[index] != key)
        ++index;
    if (index == header->size())
        return std::nullopt;
    const auto& row = state_->currentRow;
    if (!row)
        stop("CSVReader.currentRow must not be nil");
    if (index >= row->size())
        return std::string();
    return (*row)[index];
}

} // namespace csv
