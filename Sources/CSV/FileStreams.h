#pragma once

#include "CSV/InputStream.h"
#include "CSV/OutputStream.h"

#include <string>

namespace csv {

// Reads a POSIX file descriptor (a file, a pipe, a socket). The descriptor
// is closed by close() only when the stream owns it.
class FileDescriptorInputStream : public InputStream {
public:
    explicit FileDescriptorInputStream(int fd, bool ownsDescriptor = false);
    ~FileDescriptorInputStream() override;
    FileDescriptorInputStream(const FileDescriptorInputStream&) = delete;
    FileDescriptorInputStream& operator=(const FileDescriptorInputStream&) = delete;

    StreamStatus streamStatus() const override { return status_; }
    void open() override;
    std::ptrdiff_t read(std::uint8_t* buffer, std::size_t maxLength) override;
    std::optional<std::error_code> streamError() const override { return error_; }
    bool hasBytesAvailable() const override { return status_ == StreamStatus::open; }
    void close() override;

protected:
    FileDescriptorInputStream() = default;
    void fail(int errnoValue);

    int fd_ = -1;
    bool ownsDescriptor_ = false;
    StreamStatus status_ = StreamStatus::notOpen;
    std::optional<std::error_code> error_;
};

// Opens a file by path on open().
class FileInputStream final : public FileDescriptorInputStream {
public:
    explicit FileInputStream(std::string path);
    void open() override;

private:
    std::string path_;
};

// Writes to a POSIX file descriptor; a write is retried until every byte is
// out or the descriptor fails.
class FileDescriptorOutputStream : public OutputStream {
public:
    explicit FileDescriptorOutputStream(int fd, bool ownsDescriptor = false);
    ~FileDescriptorOutputStream() override;
    FileDescriptorOutputStream(const FileDescriptorOutputStream&) = delete;
    FileDescriptorOutputStream& operator=(const FileDescriptorOutputStream&) = delete;

    StreamStatus streamStatus() const override { return status_; }
    void open() override;
    std::ptrdiff_t write(const std::uint8_t* buffer, std::size_t length) override;
    std::optional<std::error_code> streamError() const override { return error_; }
    bool hasSpaceAvailable() const override { return status_ == StreamStatus::open; }
    void close() override;

protected:
    FileDescriptorOutputStream() = default;
    void fail(int errnoValue);

    int fd_ = -1;
    bool ownsDescriptor_ = false;
    StreamStatus status_ = StreamStatus::notOpen;
    std::optional<std::error_code> error_;
};

// Creates or truncates a file by path on open().
class FileOutputStream final : public FileDescriptorOutputStream {
public:
    explicit FileOutputStream(std::string path, bool append = false);
    void open() override;

private:
    std::string path_;
    bool append_;
};

} // namespace csv
