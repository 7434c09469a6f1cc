#include "base/FileError.h"
#include "base/FileHandle.h"
#include "base/MappedReader.h"

#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/resource.h>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Access = MappedReader::Access;
constexpr std::size_t kWindow = MappedReader::WindowSize;

// Everything the reader hands out from `offset` on, in views of at most `most` bytes, each one
// touched (summed) under the guard as the data passes do.
Bytes readAll(FileHandle& file, std::uint64_t offset, Access access, std::size_t most) {
    MappedReader reader(file, offset, access);
    Bytes all;
    for (auto view = reader.next(most); !view.empty(); view = reader.next(most)) {
        EXPECT_LE(view.size(), most);
        unsigned sum = 0;
        reader.touch([&] {
            for (std::uint8_t byte : view) sum += byte;
        });
        all.insert(all.end(), view.begin(), view.end());
    }
    return all;
}

FileHandle openForReading(const std::string& path) {
    FileHandle file;
    EXPECT_TRUE(file.open(path, FileHandle::Mode::Read)) << path;
    return file;
}

// While it lives, the process cannot take more address space than it holds now plus `room`:
// a mapping of a whole window fails as it would on a machine out of address space.
class AddressSpaceLimit {
public:
    explicit AddressSpaceLimit(std::uint64_t room) {
        getrlimit(RLIMIT_AS, &previous_);
        std::ifstream statm("/proc/self/statm");
        std::uint64_t pages = 0;
        statm >> pages;
        rlimit limit = previous_;
        limit.rlim_cur = pages * static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE)) + room;
        setrlimit(RLIMIT_AS, &limit);
    }
    ~AddressSpaceLimit() { setrlimit(RLIMIT_AS, &previous_); }

private:
    rlimit previous_{};
};

} // namespace

// Both ways of reading give the file's bytes, whole, in order, at window edges and from an offset.
TEST(MappedReaderTest, BothAccessesGiveTheFileBytesAtEveryWindowEdge) {
    TempFolder folder;
    for (std::size_t length : {std::size_t(0), std::size_t(1), kWindow - 1, kWindow, 3 * kWindow + 1}) {
        const std::string path = folder.file("data.bin");
        const Bytes bytes = FileBytes::pattern(length, static_cast<unsigned>(length));
        FileBytes::write(path, bytes);
        FileHandle file = openForReading(path);
        for (Access access : {Access::Map, Access::Read}) {
            SCOPED_TRACE(std::to_string(length) + (access == Access::Map ? " mapped" : " read"));
            // Views of an odd size, so that they straddle the window edges.
            EXPECT_EQ(readAll(file, 0, access, 300'007), bytes);
            const std::uint64_t offset = std::min<std::uint64_t>(length, 4097);
            EXPECT_EQ(readAll(file, offset, access, std::size_t(1) << 20), Bytes(bytes.begin() + offset, bytes.end()));
        }
    }
}

TEST(MappedReaderTest, AFileThatCannotBeMappedIsRead) {
    TempFolder folder;
    const Bytes bytes = FileBytes::pattern(2 * kWindow + 5);
    FileBytes::write(folder.file("data.bin"), bytes);
    FileHandle file = openForReading(folder.file("data.bin"));
    Bytes read;
    read.reserve(bytes.size()); // before the limit: only the reader's own needs come under it
    MappedReader reader(file, 0, Access::Map);
    {
        AddressSpaceLimit limit(kWindow / 4);
        for (auto view = reader.next(65'536); !view.empty(); view = reader.next(65'536))
            read.insert(read.end(), view.begin(), view.end());
    }
    EXPECT_FALSE(reader.mapped());
    EXPECT_EQ(read, bytes);
}

// A file cut short under its mapping: pages that vanished (SIGBUS), a cut inside the last page
// (no signal, zeros), and a cut before the next window: each is the read error, never a crash
// and never bytes passed off as read.
TEST(MappedReaderTest, AFileCutShortWhileMappedGivesTheReadError) {
    TempFolder folder;
    const std::string path = folder.file("data.bin");
    struct Case {
        std::uint64_t length;
        std::size_t firstView;
        std::uint64_t cutTo;
    };
    for (const Case& c : {Case{kWindow + 100, kWindow, 3 * 4096}, Case{10'000, 10'000, 5'000},
                          Case{kWindow + 100, kWindow, kWindow - 1}}) {
        SCOPED_TRACE(std::to_string(c.length) + " cut to " + std::to_string(c.cutTo));
        FileBytes::write(path, FileBytes::pattern(c.length));
        FileHandle file = openForReading(path);
        MappedReader reader(file, 0, Access::Map);
        const auto view = reader.next(c.firstView);
        ASSERT_EQ(view.size(), c.firstView);
        std::filesystem::resize_file(path, c.cutTo);
        try {
            unsigned sum = 0;
            reader.touch([&] {
                for (std::uint8_t byte : view) sum += byte;
            });
            FAIL() << "no FileError";
        } catch (const FileError& error) {
            EXPECT_EQ(error.errorNumber(), EIO);
            EXPECT_EQ(error.path(), path);
        }
        EXPECT_TRUE(reader.next(100).empty()) << "no window past the new end";
    }
}

TEST(MappedReaderTest, AWriteFromVanishedPagesIsTheSourcesReadError) {
    TempFolder folder;
    const std::string path = folder.file("data.bin");
    FileBytes::write(path, FileBytes::pattern(kWindow));
    FileHandle file = openForReading(path);
    FileHandle target;
    ASSERT_TRUE(target.open(folder.file("copy.bin"), FileHandle::Mode::CreateTruncate));
    MappedReader reader(file, 0, Access::Map);
    const auto view = reader.next(kWindow);
    std::filesystem::resize_file(path, 4096);
    try {
        reader.writeFrom([&] { target.write(view.data(), view.size()); });
        FAIL() << "no FileError";
    } catch (const FileError& error) {
        EXPECT_EQ(error.errorNumber(), EIO);
        EXPECT_EQ(error.path(), path);
    }
}
