#include "CSV/FileStreams.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace csv {

// --- input ---

FileDescriptorInputStream::FileDescriptorInputStream(int fd, bool ownsDescriptor)
    : fd_(fd), ownsDescriptor_(ownsDescriptor)
{
}

FileDescriptorInputStream::~FileDescriptorInputStream()
{
    if (ownsDescriptor_ && fd_ >= 0)
        ::close(fd_);
}

void FileDescriptorInputStream::fail(int errnoValue)
{
    status_ = StreamStatus::error;
    error_ = std::error_code(errnoValue, std::generic_category());
}

void FileDescriptorInputStream::open()
{
    if (status_ != StreamStatus::notOpen)
        return;
    if (fd_ < 0 || ::fcntl(fd_, F_GETFD) < 0)
        fail(EBADF);
    else
        status_ = StreamStatus::open;
}

std::ptrdiff_t FileDescriptorInputStream::read(std::uint8_t* buffer, std::size_t maxLength)
{
    if (status_ == StreamStatus::atEnd)
        return 0;
    if (status_ != StreamStatus::open)
        return -1;
    for (;;) {
        const ssize_t n = ::read(fd_, buffer, maxLength);
        if (n >= 0) {
            if (n == 0 && maxLength > 0)
                status_ = StreamStatus::atEnd;
            return n;
        }
        if (errno != EINTR) {
            fail(errno);
            return -1;
        }
    }
}

void FileDescriptorInputStream::close()
{
    if (ownsDescriptor_ && fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    status_ = StreamStatus::closed;
}

FileInputStream::FileInputStream(std::string path) : path_(std::move(path)) {}

void FileInputStream::open()
{
    if (status_ != StreamStatus::notOpen)
        return;
    fd_ = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) {
        fail(errno);
        return;
    }
    ownsDescriptor_ = true;
    status_ = StreamStatus::open;
}

// --- output ---

FileDescriptorOutputStream::FileDescriptorOutputStream(int fd, bool ownsDescriptor)
    : fd_(fd), ownsDescriptor_(ownsDescriptor)
{
}

FileDescriptorOutputStream::~FileDescriptorOutputStream()
{
    if (ownsDescriptor_ && fd_ >= 0)
        ::close(fd_);
}

void FileDescriptorOutputStream::fail(int errnoValue)
{
    status_ = StreamStatus::error;
    error_ = std::error_code(errnoValue, std::generic_category());
}

void FileDescriptorOutputStream::open()
{
    if (status_ != StreamStatus::notOpen)
        return;
    if (fd_ < 0 || ::fcntl(fd_, F_GETFD) < 0)
        fail(EBADF);
    else
        status_ = StreamStatus::open;
}

std::ptrdiff_t FileDescriptorOutputStream::write(const std::uint8_t* buffer, std::size_t length)
{
    if (status_ != StreamStatus::open)
        return -1;
    std::size_t done = 0;
    while (done < length) {
        const ssize_t n = ::write(fd_, buffer + done, length - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail(errno);
            return done > 0 ? static_cast<std::ptrdiff_t>(done) : -1;
        }
        done += static_cast<std::size_t>(n);
    }
    return static_cast<std::ptrdiff_t>(done);
}

void FileDescriptorOutputStream::close()
{
    if (ownsDescriptor_ && fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    status_ = StreamStatus::closed;
}

FileOutputStream::FileOutputStream(std::string path, bool append)
    : path_(std::move(path)), append_(append)
{
}

void FileOutputStream::open()
{
    if (status_ != StreamStatus::notOpen)
        return;
    const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (append_ ? O_APPEND : O_TRUNC);
    fd_ = ::open(path_.c_str(), flags, 0666);
    if (fd_ < 0) {
        fail(errno);
        return;
    }
    ownsDescriptor_ = true;
    status_ = StreamStatus::open;
}

} // namespace csv
