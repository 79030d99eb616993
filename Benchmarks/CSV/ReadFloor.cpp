// The least it costs here to get a file's bytes before any parsing, the
// floor under csvtool's two readers:
//   ReadFloor map FILE    map it (as csvtool --string does) and touch every
//                         64-byte line, then unmap
//   ReadFloor read FILE   read it through one 64 KB buffer (as the stream
//                         reader does) and touch every line
// Prints the number of bytes seen, so that a caller can check it saw all.
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc != 3 || (std::strcmp(argv[1], "map") != 0 && std::strcmp(argv[1], "read") != 0)) {
        std::fprintf(stderr, "usage: ReadFloor map|read FILE\n");
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
    if (argv[1][0] == 'm') {
        const auto size = static_cast<std::size_t>(status.st_size);
        void* data = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
        if (data == MAP_FAILED) {
            std::perror("mmap");
            return 1;
        }
        ::madvise(data, size, MADV_SEQUENTIAL);
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
