#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace csvtool {

// A regular file mapped read-only into memory, so that the string reader can
// read it in place. Like any mapping it assumes the file is not truncated
// while it is read (the process would get SIGBUS).
class MappedFile {
public:
    // Nothing when the file cannot be mapped: not a regular file (a pipe, a
    // terminal), a file that says it is empty (also what /proc files say),
    // or a failing open or mmap. The caller then reads it instead, and meets
    // any error there.
    static std::optional<MappedFile> map(const std::string& path);

    MappedFile(MappedFile&& other) noexcept;
    MappedFile& operator=(MappedFile&& other) noexcept;
    MappedFile(const MappedFile&) = delete;
    ~MappedFile();

    std::string_view text() const { return {data_, size_}; }

private:
    MappedFile(const char* data, std::size_t size) : data_(data), size_(size) {}
    const char* data_;
    std::size_t size_;
};

} // namespace csvtool
