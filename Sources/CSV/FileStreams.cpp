#include "CSV/FileStreams.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace csv {

// --- the shared descriptor ---

namespace detail {

void FileDescriptor::release()
{
    if (owned_ && fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

void FileDescriptor::open()
{
    if (status_ != StreamStatus::notOpen)
        return;
    if (fd_ < 0 || ::fcntl(fd_, F_GETFD) < 0)
        fail(EBADF);
    else
        status_ = StreamStatus::open;
}

void FileDescriptor::open(const std::string& path, int flags, int mode)
{
    if (status_ != StreamStatus::notOpen)
        return;
    fd_ = ::open(path.c_str(), flags, mode);
    if (fd_ < 0) {
        fail(errno);
        return;
    }
    owned_ = true;
    status_ = StreamStatus::open;
}

void FileDescriptor::fail(int errnoValue)
{
    status_ = StreamStatus::error;
    error_ = std::error_code(errnoValue, std::generic_category());
}

void FileDescriptor::close()
{
    release();
    status_ = StreamStatus::closed;
}

} // namespace detail

// --- input ---

FileDescriptorInputStream::FileDescriptorInputStream(int fd, bool ownsDescriptor) : file_(fd, ownsDescriptor) {}

void FileDescriptorInputStream::open() { file_.open(); }

std::ptrdiff_t FileDescriptorInputStream::readDescriptor(std::uint8_t* buffer, std::size_t maxLength)
{
    for (;;) {
        const ssize_t n = ::read(file_.get(), buffer, maxLength);
        if (n >= 0 || errno != EINTR)
            return n;
    }
}

std::ptrdiff_t FileDescriptorInputStream::read(std::uint8_t* buffer, std::size_t maxLength)
{
    if (file_.status() == StreamStatus::atEnd)
        return 0;
    if (file_.status() != StreamStatus::open)
        return -1;
    if (aheadPosition_ < ahead_.size()) {
        const std::size_t n = std::min(maxLength, ahead_.size() - aheadPosition_);
        std::memcpy(buffer, ahead_.data() + aheadPosition_, n);
        aheadPosition_ += n;
        return static_cast<std::ptrdiff_t>(n);
    }
    if (pendingErrno_) {
        file_.fail(*pendingErrno_);
        return -1;
    }
    if (endSeen_) {
        file_.setStatus(StreamStatus::atEnd);
        return 0;
    }
    const std::ptrdiff_t n = readDescriptor(buffer, maxLength);
    if (n < 0) {
        file_.fail(errno);
        return -1;
    }
    if (n == 0 && maxLength > 0)
        file_.setStatus(StreamStatus::atEnd);
    return n;
}

bool FileDescriptorInputStream::hasBytesAvailable() const
{
    if (file_.status() != StreamStatus::open)
        return false;
    if (aheadPosition_ < ahead_.size())
        return true;
    if (endSeen_)
        return false;
    if (pendingErrno_)
        return true;  // the next read reports it
    // A regular file that knows its length tells without a read (which
    // would cost a copy of everything through ahead_). One that says it is
    // empty, as /proc files do, is asked the long way.
    struct stat status {};
    if (::fstat(file_.get(), &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0) {
        const off_t position = ::lseek(file_.get(), 0, SEEK_CUR);
        if (position >= 0 && position < status.st_size)
            return true;
    }
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

void FileDescriptorInputStream::close() { file_.close(); }

FileInputStream::FileInputStream(std::string path) : path_(std::move(path)) {}

void FileInputStream::open() { file_.open(path_, O_RDONLY | O_CLOEXEC); }

// --- output ---

FileDescriptorOutputStream::FileDescriptorOutputStream(int fd, bool ownsDescriptor) : file_(fd, ownsDescriptor) {}

void FileDescriptorOutputStream::open() { file_.open(); }

std::ptrdiff_t FileDescriptorOutputStream::write(const std::uint8_t* buffer, std::size_t length)
{
    if (file_.status() != StreamStatus::open)
        return -1;
    std::size_t done = 0;
    while (done < length) {
        const ssize_t n = ::write(file_.get(), buffer + done, length - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            file_.fail(errno);
            return done > 0 ? static_cast<std::ptrdiff_t>(done) : -1;
        }
        done += static_cast<std::size_t>(n);
    }
    return static_cast<std::ptrdiff_t>(done);
}

void FileDescriptorOutputStream::close() { file_.close(); }

FileOutputStream::FileOutputStream(std::string path, bool append)
    : path_(std::move(path)), append_(append)
{
}

void FileOutputStream::open()
{
    file_.open(path_, O_WRONLY | O_CREAT | O_CLOEXEC | (append_ ? O_APPEND : O_TRUNC), 0666);
}

} // namespace csv
