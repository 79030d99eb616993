#pragma once

#include "CSV/InputStream.h"
#include "CSV/OutputStream.h"
#include "CSV/StreamStatus.h"

#include <cstdint>
#include <optional>
#include <string>
#include <system_error>

namespace csv {

namespace detail {

// What the file streams share: the descriptor, whether to close it, and the
// status and error of the stream that uses it.
class FileDescriptor {
public:
    FileDescriptor() = default;
    FileDescriptor(int fd, bool owned) : fd_(fd), owned_(owned) {}
    ~FileDescriptor() { release(); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd_; }
    StreamStatus status() const { return status_; }
    void setStatus(StreamStatus status) { status_ = status; }
    const std::optional<std::error_code>& error() const { return error_; }

    // Opens a given descriptor: it must be a valid one.
    void open();
    // Opens a file by path and owns the descriptor.
    void open(const std::string& path, int flags, int mode = 0);
    void fail(int errnoValue);
    void close();

private:
    void release();

    int fd_ = -1;
    bool owned_ = false;
    StreamStatus status_ = StreamStatus::notOpen;
    std::optional<std::error_code> error_;
};

} // namespace detail

// Reads a POSIX file descriptor (a file, a pipe, a socket). The descriptor
// is closed by close() only when the stream owns it.
//
// hasBytesAvailable() tells the truth even for pipes: when nothing is
// buffered it reads ahead (waiting for data if need be), so that the end of
// input is never mistaken for a read that delivered nothing.
class FileDescriptorInputStream : public InputStream {
public:
    explicit FileDescriptorInputStream(int fd, bool ownsDescriptor = false);
    FileDescriptorInputStream(const FileDescriptorInputStream&) = delete;
    FileDescriptorInputStream& operator=(const FileDescriptorInputStream&) = delete;

    StreamStatus streamStatus() const override { return file_.status(); }
    void open() override;
    std::ptrdiff_t read(std::uint8_t* buffer, std::size_t maxLength) override;
    std::optional<std::error_code> streamError() const override { return file_.error(); }
    bool hasBytesAvailable() const override;
    void close() override;

protected:
    FileDescriptorInputStream() = default;
    std::ptrdiff_t readDescriptor(std::uint8_t* buffer, std::size_t maxLength);

    detail::FileDescriptor file_;
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
    FileDescriptorOutputStream(const FileDescriptorOutputStream&) = delete;
    FileDescriptorOutputStream& operator=(const FileDescriptorOutputStream&) = delete;

    StreamStatus streamStatus() const override { return file_.status(); }
    void open() override;
    std::ptrdiff_t write(const std::uint8_t* buffer, std::size_t length) override;
    std::optional<std::error_code> streamError() const override { return file_.error(); }
    bool hasSpaceAvailable() const override { return file_.status() == StreamStatus::open; }
    void close() override;

protected:
    FileDescriptorOutputStream() = default;

    detail::FileDescriptor file_;
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
