// The least it costs here to get a file's bytes before any parsing, the
// floor under csvtool's two readers:
//   ReadFloor map FILE    map it (as csvtool --string does: read-only,
//                         sequential, populated in one call) and touch every
//                         64-byte line, then unmap
//   ReadFloor read FILE   read it through one 64 KB buffer (as the stream
//                         reader does) and touch every line
//   ReadFloor copy FILE   read it whole into memory backed by huge pages
//                         (the other way to give the string reader all of
//                         it: one copy, far fewer pages to map) and touch
//                         every line
// Prints the number of bytes seen, so that a caller can check it saw all.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

int main(int argc, char** argv)
{
    const bool known = argc == 3
        && (std::strcmp(argv[1], "map") == 0 || std::strcmp(argv[1], "read") == 0 || std::strcmp(argv[1], "copy") == 0);
    if (!known) {
        std::fprintf(stderr, "usage: ReadFloor map|read|copy FILE\n");
        return 2;
    }
    const int fd = ::open(argv[2], O_RDONLY);
    struct stat status {};
    if (fd < 0 || ::fstat(fd, &status) != 0) {
        std::perror(argv[2]);
        return 1;
    }
    volatile unsigned char sink = 0;
    unsigned long long seen = 0;
    if (argv[1][0] == 'c') {
        // Room for the file, 2 MB aligned so that huge pages can back it.
        constexpr std::size_t huge = std::size_t(2) << 20;
        const auto size = static_cast<std::size_t>(status.st_size);
        const std::size_t room = (size + 2 * huge) & ~(huge - 1);
        void* area = ::mmap(nullptr, room, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (area == MAP_FAILED) {
            std::perror("mmap");
            return 1;
        }
        auto* bytes = reinterpret_cast<unsigned char*>((reinterpret_cast<std::uintptr_t>(area) + huge - 1) & ~(huge - 1));
        ::madvise(bytes, room - huge, MADV_HUGEPAGE);
        for (;;) {
            const ssize_t n = ::read(fd, bytes + seen, room - huge - seen);
            if (n < 0) {
                std::perror("read");
                return 1;
            }
            if (n == 0)
                break;
            seen += static_cast<unsigned long long>(n);
        }
        for (std::size_t i = 0; i < seen; i += 64)
            sink = sink + bytes[i];
        ::munmap(area, room);
    } else if (argv[1][0] == 'm') {
        const auto size = static_cast<std::size_t>(status.st_size);
        void* data = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
        if (data == MAP_FAILED) {
            std::perror("mmap");
            return 1;
        }
        ::madvise(data, size, MADV_SEQUENTIAL);
        ::madvise(data, size, MADV_POPULATE_READ);  // as csvtool does
        const auto* bytes = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < size; i += 64)
            sink = sink + bytes[i];
        seen = size;
        ::munmap(data, size);
    } else {
        static unsigned char buffer[1 << 16];
        for (;;) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n < 0) {
                std::perror("read");
                return 1;
            }
            if (n == 0)
                break;
            for (ssize_t i = 0; i < n; i += 64)
                sink = sink + buffer[i];
            seen += static_cast<unsigned long long>(n);
        }
    }
    ::close(fd);
    std::printf("%llu\n", seen);
    return 0;
}
