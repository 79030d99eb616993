#pragma once

#include <exception>
#include <system_error>

namespace csv {

// The one error type of the CSV library. Construction and write failures are
// thrown; failures met while iterating are recorded in CSVReader::error().
class CSVError : public std::exception {
public:
    enum class Kind {
        streamErrorHasOccurred,
        cannotOpenFile,
        cannotReadFile,
        cannotWriteStream,
        unicodeDecoding,
        cannotReadHeaderRow,
        stringEncodingMismatch,
        stringEndianMismatch,
    };

    explicit CSVError(Kind kind) noexcept : kind_(kind) {}
    static CSVError streamErrorHasOccurred(std::error_code error) noexcept
    {
        CSVError e(Kind::streamErrorHasOccurred);
        e.streamError_ = error;
        return e;
    }

    Kind kind() const noexcept { return kind_; }
    // The stream's own error; set only for streamErrorHasOccurred.
    std::error_code streamError() const noexcept { return streamError_; }
    // The case name, e.g. "cannotReadHeaderRow".
    const char* caseName() const noexcept { return caseName(kind_); }
    static const char* caseName(Kind kind) noexcept;
    const char* what() const noexcept override { return caseName(); }

    // Errors compare by case (and stream error for streamErrorHasOccurred).
    bool operator==(const CSVError& other) const noexcept
    {
        return kind_ == other.kind_ && streamError_ == other.streamError_;
    }

private:
    Kind kind_;
    std::error_code streamError_;
};

} // namespace csv
