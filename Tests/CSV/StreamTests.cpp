#include "CSVTestSupport.h"

#include "CSV/CSVReader.h"
#include "CSV/CSVWriter.h"
#include "CSV/FileStreams.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <unistd.h>

using namespace csvtest;
using csv::CSVError;
using csv::CSVReader;

namespace {

class TemporaryDirectory {
public:
    TemporaryDirectory()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "csvtests.XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~TemporaryDirectory() { std::filesystem::remove_all(path_); }
    std::filesystem::path operator/(const char* name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

} // namespace

TEST(FileStreams, WriteThenReadAFile)
{
    TemporaryDirectory directory;
    const auto path = (directory / "out.csv").string();
    {
        csv::CSVWriter writer(std::make_shared<csv::FileOutputStream>(path), csv::UTF16 {}, csv::Endian::little);
        writer.writeRow({"id", "title"});
        writer.writeRow({"1", "Radio \u00E9, \"live\""});
    }
    CSVReader reader(std::make_shared<csv::FileInputStream>(path), csv::UTF16 {}, csv::Endian::little, true);
    ASSERT_TRUE(reader.next());
    EXPECT_EQ(reader["title"], "Radio \u00E9, \"live\"");
    EXPECT_FALSE(reader.next());
    EXPECT_FALSE(reader.error());

    EXPECT_EQ(errorKind([&] {
        CSVReader(std::make_shared<csv::FileInputStream>((directory / "missing.csv").string()));
    }), CSVError::Kind::cannotOpenFile);
    EXPECT_EQ(errorKind([&] {
        csv::CSVWriter(std::make_shared<csv::FileOutputStream>((directory / "no/such/dir.csv").string()));
    }), CSVError::Kind::cannotOpenFile);
}

// Only an owned descriptor is closed, by close() or on destruction; a bad
// one fails to open; append mode keeps what the file held.
TEST(FileStreams, DescriptorOwnershipAndModes)
{
    const auto isOpen = [](int fd) { return ::fcntl(fd, F_GETFD) >= 0; };
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    {
        csv::FileDescriptorInputStream borrowed(fds[0]);
        csv::FileDescriptorOutputStream borrowedOut(fds[1]);
        borrowed.open();
        borrowedOut.open();
        EXPECT_EQ(borrowedOut.write(reinterpret_cast<const std::uint8_t*>("x"), 1), 1);
        borrowedOut.close();
        EXPECT_EQ(borrowedOut.streamStatus(), csv::StreamStatus::closed);
    }
    EXPECT_TRUE(isOpen(fds[0]));
    EXPECT_TRUE(isOpen(fds[1]));
    {
        csv::FileDescriptorInputStream owned(fds[0], true);
        owned.open();
        owned.close();
        EXPECT_FALSE(isOpen(fds[0]));
        csv::FileDescriptorOutputStream ownedOut(fds[1], true);
    }
    EXPECT_FALSE(isOpen(fds[1]));

    for (const int bad : {-1, fds[0]}) {
        csv::FileDescriptorInputStream input(bad);
        input.open();
        EXPECT_EQ(input.streamStatus(), csv::StreamStatus::error);
        EXPECT_EQ(input.streamError(), std::error_code(EBADF, std::generic_category()));
        csv::FileDescriptorOutputStream output(bad);
        output.open();
        EXPECT_EQ(output.streamStatus(), csv::StreamStatus::error);
        EXPECT_EQ(output.write(reinterpret_cast<const std::uint8_t*>("x"), 1), -1);
    }

    TemporaryDirectory directory;
    const auto path = (directory / "log.csv").string();
    for (const bool append : {false, true, true}) {
        csv::FileOutputStream out(path, append);
        out.open();
        EXPECT_EQ(out.write(reinterpret_cast<const std::uint8_t*>("ab"), 2), 2);
    }
    csv::FileInputStream in(path);
    in.open();
    std::uint8_t buffer[16];
    EXPECT_EQ(in.read(buffer, sizeof buffer), 6);
    EXPECT_EQ(in.read(buffer, sizeof buffer), 0);
    EXPECT_EQ(in.streamStatus(), csv::StreamStatus::atEnd);
}

// A file says it has bytes exactly while some are unread: a regular file
// from its length, one that claims to be empty (as /proc files do) by
// reading ahead.
TEST(FileStreams, BytesAvailableUntilTheEnd)
{
    TemporaryDirectory directory;
    const auto path = (directory / "in.csv").string();
    std::ofstream(path) << std::string(3000, 'x');
    for (const std::string& name : {path, std::string("/proc/self/status")}) {
        csv::FileInputStream stream(name);
        stream.open();
        std::uint8_t buffer[700];
        std::size_t total = 0;
        while (stream.hasBytesAvailable()) {
            const std::ptrdiff_t n = stream.read(buffer, sizeof buffer);
            ASSERT_GT(n, 0) << name;
            total += static_cast<std::size_t>(n);
        }
        EXPECT_EQ(stream.read(buffer, sizeof buffer), 0) << name;
        EXPECT_FALSE(stream.streamError()) << name;
        if (name == path)
            EXPECT_EQ(total, 3000u);
        else
            EXPECT_GT(total, 0u);
    }
}

// The end of a pipe is the end of input, not a failed read, however the
// writer's pace and the reader's buffer line up.
TEST(FileStreams, PipeEndsCleanly)
{
    for (const std::size_t bufferSize : {std::size_t(1), std::size_t(7), csv::BinaryReader::defaultBufferSize}) {
        int fds[2];
        ASSERT_EQ(::pipe(fds), 0);
        std::thread writer([fd = fds[1]] {
            for (int i = 0; i < 20; ++i) {
                const std::string line = "row," + std::to_string(i) + "\n";
                EXPECT_EQ(::write(fd, line.data(), line.size()), static_cast<ssize_t>(line.size()));
                if (i % 5 == 0)
                    std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
            ::close(fd);
        });
        auto stream = std::make_shared<csv::FileDescriptorInputStream>(fds[0], true);
        CSVReader reader(csv::BinaryReader::make(stream, csv::Endian::unknown, true, bufferSize), csv::UTF8 {},
                         CSVReader::Configuration());
        const Rows rows = readAll(reader);
        writer.join();
        ASSERT_EQ(rows.size(), 20u) << "buffer " << bufferSize;
        EXPECT_EQ(rows.back(), (CSVReader::Row {"row", "19"}));
        EXPECT_FALSE(reader.error()) << reader.error()->caseName();
    }
}
