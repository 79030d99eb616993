#include "CSV/FileStreams.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
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

std::ptrdiff_t FileDescriptorInputStream::readDescriptor(std::uint8_t* buffer, std::size_t maxLength)
{
    for (;;) {
        const ssize_t n = ::read(fd_, buffer, maxLength);
        if (n >= 0 || errno != EINTR)
            return n;
    }
}

std::ptrdiff_t FileDescriptorInputStream::read(std::uint8_t* buffer, std::size_t maxLength)
{
    if (status_ == StreamStatus::atEnd)
        return 0;
    if (status_ != StreamStatus::open)
        return -1;
    if (aheadPosition_ < ahead_.size()) {
        const std::size_t n = std::min(maxLength, ahead_.size() - aheadPosition_);
        std::memcpy(buffer, ahead_.data() + aheadPosition_, n);
        aheadPosition_ += n;
        return static_cast<std::ptrdiff_t>(n);
    }
    if (pendingErrno_) {
        fail(*pendingErrno_);
        return -1;
    }
    if (endSeen_) {
        status_ = StreamStatus::atEnd;
        return 0;
    }
    const std::ptrdiff_t n = readDescriptor(buffer, maxLength);
    if (n < 0) {
        fail(errno);
        return -1;
    }
    if (n == 0 && maxLength > 0)
        status_ = StreamStatus::atEnd;
    return n;
}

bool FileDescriptorInputStream::hasBytesAvailable() const
{
    if (status_ != StreamStatus::open)
        return false;
    if (aheadPosition_ < ahead_.size())
        return true;
    if (endSeen_)
        return false;
    if (pendingErrno_)
        return true;  // the next read reports it
    ahead_.resize(1 << 16);
    aheadPosition_ = 0;
    auto* self = const_cast<FileDescriptorInputStream*>(this);
    const std::ptrdiff_t n = self->readDescriptor(reinterpret_cast<std::uint8_t*>(ahead_.data()), ahead_.size());
    if (n < 0) {
        pendingErrno_ = errno;
        ahead_.clear();
        return true;
    }
    ahead_.resize(static_cast<std::size_t>(n));
    endSeen_ = n == 0;
    return n > 0;
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
