#include "CSV/CSVParser.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace csv::detail {

using unicode::decodeValid;
using unicode::sequenceLength;

// --- ScalarSet ---

ScalarSet::ScalarSet(const Whitespaces& scalars) : empty_(scalars.empty())
{
    for (const char32_t c : scalars) {
        if (c < 128)
            ascii_[c >> 6] |= std::uint64_t(1) << (c & 63);
        else
            wide_.push_back(c);  // std::set iterates in order: stays sorted
    }
}

bool ScalarSet::containsWide(char32_t c) const
{
    return std::binary_search(wide_.begin(), wide_.end(), c);
}

// --- RowParser ---

// The first byte in [p, e) that may end an unquoted field: CR, LF or the
// delimiter's first byte. Eight bytes at a time: a zero byte in w ^ pattern
// marks the delimiter, a byte below 0x0E marks CR or LF (and a few control
// characters, which the caller just takes as text). The lowest marked byte
// of such a mask is always a true one.
const char* RowParser::findStop(const char* p, const char* e) const
{
    if constexpr (std::endian::native == std::endian::little) {
        constexpr std::uint64_t ones = 0x0101010101010101ULL;
        constexpr std::uint64_t highs = 0x8080808080808080ULL;
        const std::uint64_t delimiter = delimiterPattern_;
        while (e - p >= 8) {
            std::uint64_t w;
            std::memcpy(&w, p, 8);
            const std::uint64_t d = w ^ delimiter;
            const std::uint64_t found = (((d - ones) & ~d) | ((w - ones * 0x0E) & ~w)) & highs;
            if (found)
                return p + (std::countr_zero(found) >> 3);
            p += 8;
        }
    }
    while (p != e && !stops_[static_cast<unsigned char>(*p)])
        ++p;
    return p;
}

RowParser::RowParser(const CSVReader::Configuration& configuration, TextSource& source)
    : source_(source), trimFields_(configuration.trimFields), whitespaces_(configuration.whitespaces)
{
    if (unicode::isScalar(configuration.delimiter)) {
        const std::string bytes = unicode::toUTF8(configuration.delimiter);
        delimiterLength_ = bytes.size();
        std::memcpy(delimiter_, bytes.data(), bytes.size());
        stops_[static_cast<unsigned char>(bytes[0])] = true;
    } else {
        delimiter_[0] = '\r';  // adds no stop of its own
    }
    stops_['\r'] = true;
    stops_['\n'] = true;
    delimiterPattern_ = 0x0101010101010101ULL * static_cast<unsigned char>(delimiter_[0]);
    plainDelimiter_ = !trimFields_ && delimiterLength_ == 1 && delimiter_[0] != '\r' && delimiter_[0] != '\n';
}

bool RowParser::refill()
{
    const char* begin = nullptr;
    const char* end = nullptr;
    do {
        if (!source_.fill(begin, end))
            return false;
    } while (begin == end);  // the parser reads *p_ whenever p_ != e_
    p_ = begin;
    e_ = end;
    return true;
}

bool RowParser::readRow(CSVReader::Row& row)
{
    if (!ensure())
        return false;
    std::size_t count = 0;
    for (;;) {
        if (count == row.size())
            row.emplace_back();
        std::string& field = row[count++];
        // Most fields: unquoted, untrimmed, ended by a one-byte delimiter or
        // LF inside the current run.
        if (plainDelimiter_ && p_ != e_ && *p_ != '"') {
            const char* q = findStop(p_, e_);
            if (q != e_ && (*q == delimiter_[0] || *q == '\n')) {
                field.assign(p_, static_cast<std::size_t>(q - p_));
                const bool rowEnds = *q == '\n';
                p_ = q + 1;
                if (rowEnds)
                    break;
                continue;
            }
        }
        field.clear();
        if (readField(field))
            break;
    }
    if (count < row.size())
        row.resize(count);
    return true;
}

bool RowParser::skipWhitespace()
{
    for (;;) {
        if (!ensure())
            return false;
        const auto* u = reinterpret_cast<const unsigned char*>(p_);
        const int length = sequenceLength(*u);
        if (!whitespaces_.contains(decodeValid(u, length)))
            return true;
        p_ += length;
    }
}

bool RowParser::atDelimiter() const
{
    if (delimiterLength_ == 1)
        return *p_ == delimiter_[0];
    return delimiterLength_ != 0 && static_cast<std::size_t>(e_ - p_) >= delimiterLength_
        && std::memcmp(p_, delimiter_, delimiterLength_) == 0;
}

bool RowParser::endLine()
{
    if (*p_++ == '\r' && ensure() && *p_ == '\n')
        ++p_;
    return true;
}

bool RowParser::readField(std::string& field)
{
    if (trimFields_ ? !skipWhitespace() : !ensure())
        return true;  // an empty last field
    if (*p_ == '"') {
        ++p_;
        return readQuoted(field);
    }
    return readUnquoted(field);
}

bool RowParser::readUnquoted(std::string& field)
{
    bool rowEnds;
    for (;;) {
        if (!ensure()) {
            rowEnds = true;
            break;
        }
        // Copy the run of bytes that cannot end the field in one go.
        const char* q = findStop(p_, e_);
        field.append(p_, static_cast<std::size_t>(q - p_));
        p_ = q;
        if (p_ == e_)
            continue;
        if (*p_ == '\r' || *p_ == '\n') {
            rowEnds = endLine();
            break;
        }
        if (atDelimiter()) {
            p_ += delimiterLength_;
            rowEnds = false;
            break;
        }
        // The lead byte of another scalar that shares the delimiter's lead
        // byte; its continuation bytes never stop the scan.
        field.push_back(*p_++);
    }
    if (trimFields_)
        trim(field);
    return rowEnds;
}

bool RowParser::readQuoted(std::string& field)
{
    for (;;) {
        if (!ensure())
            return true;  // unterminated: the field runs to the end
        const void* quote = std::memchr(p_, '"', static_cast<std::size_t>(e_ - p_));
        if (!quote) {
            field.append(p_, static_cast<std::size_t>(e_ - p_));
            p_ = e_;
            continue;
        }
        const char* q = static_cast<const char*>(quote);
        field.append(p_, static_cast<std::size_t>(q - p_));
        p_ = q + 1;

        // After a quotation mark.
        if (trimFields_ ? !skipWhitespace() : !ensure())
            return true;
        if (*p_ == '\r' || *p_ == '\n')
            return endLine();
        if (atDelimiter()) {
            p_ += delimiterLength_;
            return false;
        }
        field.push_back('"');
        if (*p_ == '"') {
            ++p_;
            continue;
        }
        // A lone quote is text; keep what follows it too.
        const int length = sequenceLength(static_cast<unsigned char>(*p_));
        field.append(p_, static_cast<std::size_t>(length));
        p_ += length;
    }
}

void RowParser::trim(std::string& field) const
{
    if (whitespaces_.empty() || field.empty())
        return;
    const auto* data = reinterpret_cast<const unsigned char*>(field.data());
    std::size_t end = field.size();
    while (end > 0) {
        std::size_t start = end - 1;
        while (start > 0 && (data[start] & 0xC0) == 0x80)
            --start;
        if (!whitespaces_.contains(decodeValid(data + start, static_cast<int>(end - start))))
            break;
        end = start;
    }
    std::size_t begin = 0;
    while (begin < end) {
        const int length = sequenceLength(data[begin]);
        if (!whitespaces_.contains(decodeValid(data + begin, length)))
            break;
        begin += static_cast<std::size_t>(length);
    }
    if (end < field.size())
        field.resize(end);
    if (begin > 0)
        field.erase(0, begin);
}

// --- SimpleRowParser ---

SimpleRowParser::SimpleRowParser(const CSVReader::Configuration& configuration, ScalarIterator iterator)
    : configuration_(configuration), iterator_(std::move(iterator))
{
}

std::optional<char32_t> SimpleRowParser::take()
{
    if (back_) {
        const char32_t c = *back_;
        back_.reset();
        return c;
    }
    std::optional<char32_t> c = iterator_();
    if (c && !unicode::isScalar(*c))
        c = unicode::replacementCharacter;
    return c;
}

bool SimpleRowParser::endAtCR()
{
    const std::optional<char32_t> c = take();
    if (c && *c != LF)
        back_ = c;
    return true;
}

bool SimpleRowParser::readRow(CSVReader::Row& row)
{
    std::optional<char32_t> c = take();
    if (!c)
        return false;
    const auto& ws = configuration_.whitespaces;
    row.clear();
    for (;;) {
        std::u32string field;
        bool rowEnds;
        if (configuration_.trimFields)
            while (c && ws.contains(*c))
                c = take();
        if (!c) {
            rowEnds = true;
        } else if (*c == DQUOTE) {
            rowEnds = readQuoted(field);
        } else {
            back_ = c;
            rowEnds = readUnquoted(field);
            if (configuration_.trimFields) {
                while (!field.empty() && ws.contains(field.back()))
                    field.pop_back();
                std::size_t n = 0;
                while (n < field.size() && ws.contains(field[n]))
                    ++n;
                field.erase(0, n);
            }
        }
        std::string text;
        for (const char32_t s : field)
            unicode::appendUTF8(text, s);
        row.push_back(std::move(text));
        if (rowEnds)
            return true;
        c = take();
    }
}

bool SimpleRowParser::readUnquoted(std::u32string& field)
{
    for (;;) {
        const std::optional<char32_t> c = take();
        if (!c)
            return true;
        if (*c == CR)
            return endAtCR();
        if (*c == LF)
            return true;
        if (*c == configuration_.delimiter)
            return false;
        field.push_back(*c);
    }
}

bool SimpleRowParser::readQuoted(std::u32string& field)
{
    for (;;) {
        std::optional<char32_t> c = take();
        if (!c)
            return true;
        if (*c != DQUOTE) {
            field.push_back(*c);
            continue;
        }
        // After a quotation mark.
        c = take();
        if (configuration_.trimFields)
            while (c && configuration_.whitespaces.contains(*c))
                c = take();
        if (!c)
            return true;
        if (*c == CR)
            return endAtCR();
        if (*c == LF)
            return true;
        if (*c == configuration_.delimiter)
            return false;
        field.push_back(DQUOTE);
        if (*c != DQUOTE)
            field.push_back(*c);
    }
}

} // namespace csv::detail
