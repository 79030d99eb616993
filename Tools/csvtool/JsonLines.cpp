#include "JsonLines.h"

#include "CSV/UnicodeCodecs.h"

#include <array>

namespace csvtool {

namespace {

constexpr std::array<bool, 256> needsEscape = [] {
    std::array<bool, 256> table {};
    for (int c = 0; c < 0x20; ++c)
        table[c] = true;
    table['"'] = true;
    table['\\'] = true;
    return table;
}();

void appendEscaped(std::string& out, std::string_view s)
{
    std::size_t start = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (!needsEscape[c])
            continue;
        out.append(s, start, i - start);
        start = i + 1;
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default: {
            static constexpr char hex[] = "0123456789abcdef";
            const char escape[6] = {'\\', 'u', '0', '0', hex[c >> 4], hex[c & 15]};
            out.append(escape, 6);
        }
        }
    }
    out.append(s, start, s.size() - start);
}

class Parser {
public:
    Parser(std::string_view text, std::string& error) : s_(text), error_(error) {}

    std::optional<std::vector<std::string>> array()
    {
        std::vector<std::string> row;
        skipBlanks();
        if (!take('['))
            return fail("expected '['");
        skipBlanks();
        if (!take(']')) {
            for (;;) {
                skipBlanks();
                std::string field;
                if (!string(field))
                    return std::nullopt;
                row.push_back(std::move(field));
                skipBlanks();
                if (take(','))
                    continue;
                if (take(']'))
                    break;
                return fail("expected ',' or ']'");
            }
        }
        skipBlanks();
        if (i_ != s_.size())
            return fail("unexpected text after the array");
        return row;
    }

private:
    std::nullopt_t fail(const char* message)
    {
        error_ = std::string(message) + " at column " + std::to_string(i_ + 1);
        return std::nullopt;
    }
    void skipBlanks()
    {
        while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\t' || s_[i_] == '\r' || s_[i_] == '\n'))
            ++i_;
    }
    bool take(char c)
    {
        if (i_ < s_.size() && s_[i_] == c) {
            ++i_;
            return true;
        }
        return false;
    }
    std::optional<unsigned> hex4()
    {
        if (s_.size() - i_ < 4)
            return std::nullopt;
        unsigned value = 0;
        for (int k = 0; k < 4; ++k) {
            const char c = s_[i_++];
            value <<= 4;
            if (c >= '0' && c <= '9')
                value |= unsigned(c - '0');
            else if (c >= 'a' && c <= 'f')
                value |= unsigned(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                value |= unsigned(c - 'A' + 10);
            else
                return std::nullopt;
        }
        return value;
    }
    bool string(std::string& out)
    {
        if (!take('"')) {
            fail("expected a string");
            return false;
        }
        for (;;) {
            const std::size_t start = i_;
            while (i_ < s_.size() && s_[i_] != '"' && s_[i_] != '\\' && static_cast<unsigned char>(s_[i_]) >= 0x20)
                ++i_;
            const auto* run = reinterpret_cast<const unsigned char*>(s_.data() + start);
            const std::size_t valid = csv::unicode::validPrefixLength(run, i_ - start);
            if (valid != i_ - start) {
                i_ = start + valid;
                fail("malformed UTF-8");
                return false;
            }
            out.append(s_, start, i_ - start);
            if (i_ == s_.size()) {
                fail("unterminated string");
                return false;
            }
            const char c = s_[i_++];
            if (c == '"')
                return true;
            if (c != '\\') {
                --i_;
                fail("control character in a string");
                return false;
            }
            if (!escape(out))
                return false;
        }
    }
    bool escape(std::string& out)
    {
        if (i_ == s_.size()) {
            fail("unterminated escape");
            return false;
        }
        switch (s_[i_++]) {
        case '"': out += '"'; return true;
        case '\\': out += '\\'; return true;
        case '/': out += '/'; return true;
        case 'b': out += '\b'; return true;
        case 'f': out += '\f'; return true;
        case 'n': out += '\n'; return true;
        case 'r': out += '\r'; return true;
        case 't': out += '\t'; return true;
        case 'u': break;
        default: --i_; fail("unknown escape"); return false;
        }
        const auto high = hex4();
        if (!high) {
            fail("bad \\u escape");
            return false;
        }
        char32_t scalar = *high;
        if (*high >= 0xDC00 && *high <= 0xDFFF) {
            fail("lone low surrogate");
            return false;
        }
        if (*high >= 0xD800 && *high <= 0xDBFF) {
            if (!take('\\') || !take('u')) {
                fail("lone high surrogate");
                return false;
            }
            const auto low = hex4();
            if (!low || *low < 0xDC00 || *low > 0xDFFF) {
                fail("lone high surrogate");
                return false;
            }
            scalar = 0x10000 + ((*high - 0xD800) << 10) + (*low - 0xDC00);
        }
        csv::unicode::appendUTF8(out, scalar);
        return true;
    }

    std::string_view s_;
    std::string& error_;
    std::size_t i_ = 0;
};

} // namespace

namespace {

template <class Row>
void appendArray(std::string& out, const Row& row)
{
    out += '[';
    for (std::size_t i = 0; i < row.size(); ++i) {
        if (i > 0)
            out += ',';
        out += '"';
        appendEscaped(out, row[i]);
        out += '"';
    }
    out += ']';
}

} // namespace

void appendJsonArray(std::string& out, std::span<const std::string_view> row)
{
    appendArray(out, row);
}

void appendJsonArray(std::string& out, const std::vector<std::string>& row)
{
    appendArray(out, row);
}

std::optional<std::vector<std::string>> parseJsonArray(std::string_view line, std::string& error)
{
    return Parser(line, error).array();
}

} // namespace csvtool
