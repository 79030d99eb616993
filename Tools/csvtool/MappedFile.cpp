#include "MappedFile.h"

#include <utility>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace csvtool {

std::optional<MappedFile> MappedFile::map(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat status {};
    void* data = MAP_FAILED;
    std::size_t size = 0;
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0) {
        size = static_cast<std::size_t>(status.st_size);
        data = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    }
    ::close(fd);  // the mapping keeps the file
    if (data == MAP_FAILED)
        return std::nullopt;
    // Read once, front to back: read ahead, and drop pages behind.
    ::madvise(data, size, MADV_SEQUENTIAL);
    // Map every page in one call rather than a fault at a time: measured
    // cheaper under a hypervisor where each fault traps (best effort; older
    // kernels refuse it and the faults happen as usual).
    ::madvise(data, size, MADV_POPULATE_READ);
    return MappedFile(static_cast<const char*>(data), size);
}

MappedFile::MappedFile(MappedFile&& other) noexcept : data_(other.data_), size_(other.size_)
{
    other.data_ = nullptr;
    other.size_ = 0;
}

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept
{
    std::swap(data_, other.data_);
    std::swap(size_, other.size_);
    return *this;
}

MappedFile::~MappedFile()
{
    if (data_)
        ::munmap(const_cast<char*>(data_), size_);
}

} // namespace csvtool
