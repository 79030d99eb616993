#pragma once

#include "CSV/InputStream.h"
#include "CSV/OutputStream.h"

#include <cstdint>
#include <string>

namespace csv {

// Reads a POSIX file descriptor (a file, a pipe, a socket). The descriptor
// is closed by close() only when the stream owns it.
//
// hasBytesAvailable() tells the truth even for pipes: when nothing is
// buffered it reads ahead (waiting for data if need be), so that the end of
// input is never mistaken for a read that delivered nothing.
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
    bool hasBytesAvailable() const override;
    void close() override;

protected:
    FileDescriptorInputStream() = default;
    void fail(int errnoValue);
    std::ptrdiff_t readDescriptor(std::uint8_t* buffer, std::size_t maxLength);

    int fd_ = -1;
    bool ownsDescriptor_ = false;
    StreamStatus status_ = StreamStatus::notOpen;
    std::optional<std::error_code> error_;
    // Bytes read ahead by hasBytesAvailable(), handed out by the next read.
    mutable std::string ahead_;
    mutable std::size_t aheadPosition_ = 0;
    mutable bool endSeen_ = false;
    mutable std::optional<int> pendingErrno_;
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
