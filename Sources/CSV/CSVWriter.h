#pragma once

#include "CSV/CSVConstants.h"
#include "CSV/CSVError.h"
#include "CSV/Endian.h"
#include "CSV/OutputStream.h"
#include "CSV/UnicodeCodecs.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace csv {

// Writes rows of string fields (UTF-8 text) as CSV to an OutputStream, in
// UTF-8, UTF-16 or UTF-32, either byte order; never a byte-order mark.
//
// A field is quoted when asked, or when it holds a quotation mark, the
// delimiter, CR or LF, so that every row reads back as written; a row of
// one empty field is written as "" so that it is not lost at the end.
// Each public call hands its bytes to the stream before it returns.
class CSVWriter {
public:
    enum class Newline { lf, crlf };

    struct Configuration {
        std::string delimiter;
        std::string newline;
        Configuration(std::string delimiter, Newline newline);
    };

    static inline const std::string defaultDelimiter = ",";

    // Each opens the stream if it is not open yet; throws cannotOpenFile.
    explicit CSVWriter(std::shared_ptr<OutputStream> stream, std::string delimiter = defaultDelimiter,
                       Newline newline = Newline::lf);
    CSVWriter(std::shared_ptr<OutputStream> stream, UTF8 codec, std::string delimiter = defaultDelimiter,
              Newline newline = Newline::lf);
    CSVWriter(std::shared_ptr<OutputStream> stream, UTF16 codec, Endian endian = Endian::big,
              std::string delimiter = defaultDelimiter, Newline newline = Newline::lf);
    CSVWriter(std::shared_ptr<OutputStream> stream, UTF32 codec, Endian endian = Endian::big,
              std::string delimiter = defaultDelimiter, Newline newline = Newline::lf);
    // Closes the stream if it is still open.
    ~CSVWriter();
    CSVWriter(const CSVWriter&) = delete;
    CSVWriter& operator=(const CSVWriter&) = delete;

    const std::shared_ptr<OutputStream>& stream() const { return stream_; }
    const Configuration& configuration() const { return configuration_; }

    // The next field starts a new row. Writes nothing.
    void beginNewRow();
    // Writes one field (UTF-8; ill-formed bytes are written as U+FFFD).
    // Throws cannotWriteStream when the stream takes fewer bytes than given.
    void writeField(std::string_view field, bool quoted = false);
    // beginNewRow() and every field; quotedAtIndex(i) forces quoting of field i.
    void writeRow(const std::vector<std::string>& row,
                  const std::function<bool(std::size_t)>& quotedAtIndex = {});

private:
    enum class Encoding { utf8, utf16, utf32 };
    CSVWriter(std::shared_ptr<OutputStream> stream, Encoding encoding, Endian endian, std::string delimiter,
              Newline newline);
    void appendField(std::string_view field, bool quoted);
    void appendText(std::string_view utf8);
    void appendScalar(char32_t c);
    void flush();

    std::shared_ptr<OutputStream> stream_;
    Configuration configuration_;
    Encoding encoding_;
    bool bigEndian_;
    bool isFirstRow_ = true;
    bool isFirstField_ = true;
    std::string pending_;  // encoded bytes of the current call
};

} // namespace csv
