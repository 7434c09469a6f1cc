#include "base/FileError.h"
#include "base/FileHandle.h"
#include "base/WriteBehind.h"

#include "support/FileBytes.h"
#include "support/FileSizeLimit.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr std::size_t kChunk = WriteBehind::ChunkSize;

FileHandle create(const std::string& path) {
    FileHandle file;
    EXPECT_TRUE(file.open(path, FileHandle::Mode::CreateTruncate)) << path;
    return file;
}

// Sends `data` through a writer in chunks of at most `most` bytes, each filled into the buffer
// the writer lends, as the split and join passes do.
void writeThrough(WriteBehind& writer, const Bytes& data, std::size_t most) {
    for (std::size_t done = 0; done < data.size();) {
        const auto buffer = writer.nextBuffer();
        EXPECT_EQ(buffer.size(), kChunk);
        const std::size_t length = std::min({most, kChunk, data.size() - done});
        std::copy_n(data.begin() + static_cast<std::ptrdiff_t>(done), length, buffer.begin());
        writer.write(length);
        done += length;
    }
}

} // namespace

TEST(WriteBehindTest, ChunksReachTheFileInOrderBehindWhatWasWrittenBefore) {
    TempFolder folder;
    std::vector<std::uint8_t> memory;
    struct Case {
        std::size_t length;
        std::size_t most;
    };
    // No chunk, one short chunk (written without a thread), one whole, two, more chunks than
    // buffers with a short one at the end, and chunks of odd sizes that never fill a buffer.
    for (const Case& c : {Case{0, kChunk}, Case{1, kChunk}, Case{kChunk - 1, kChunk}, Case{kChunk, kChunk},
                          Case{kChunk + 1, kChunk}, Case{13 * kChunk + 5, kChunk}, Case{3 * kChunk, 4099}}) {
        SCOPED_TRACE(testing::Message() << c.length << " bytes in chunks of " << c.most);
        const std::string path = folder.file("out.bin");
        const Bytes data = FileBytes::pattern(c.length, static_cast<unsigned>(c.length));
        {
            FileHandle file = create(path);
            file.write("head", 4);
            WriteBehind writer(file, memory);
            writeThrough(writer, data, c.most);
            writer.finish();
            file.write("tail", 4); // the file's position is behind the last chunk
        }
        Bytes expected = {'h', 'e', 'a', 'd'};
        expected.insert(expected.end(), data.begin(), data.end());
        expected.insert(expected.end(), {'t', 'a', 'i', 'l'});
        EXPECT_TRUE(FileBytes::read(path) == expected);
    }
    EXPECT_EQ(memory.size(), WriteBehind::Buffers * kChunk) << "lent once, reused";
}

TEST(WriteBehindTest, AFailedWriteIsThrownOnTheCallersThreadNamingTheFile) {
    TempFolder folder;
    std::vector<std::uint8_t> memory;
    const std::string path = folder.file("full.bin");
    FileHandle file = create(path);
    const Bytes data = FileBytes::pattern(20 * kChunk);
    FileSizeLimit full(3 * kChunk + 100);
    WriteBehind writer(file, memory);
    try {
        writeThrough(writer, data, kChunk);
        writer.finish();
        FAIL() << "no FileError";
    } catch (const FileError& error) {
        EXPECT_EQ(error.path(), path);
        EXPECT_EQ(error.description(), "File too large");
    }
    // What reached the file came in order: the whole chunks before the limit, then as much of
    // the next as fitted.
    const Bytes written = FileBytes::read(path);
    EXPECT_EQ(written.size(), 3 * kChunk + 100);
    EXPECT_TRUE(std::equal(written.begin(), written.end(), data.begin()));
    EXPECT_THROW(writer.nextBuffer(), FileError) << "the failure stays";
}

TEST(WriteBehindTest, AWriterLeftEarlyDropsWhatIsQueuedAndWritesNothingAfterwards) {
    TempFolder folder;
    std::vector<std::uint8_t> memory;
    const std::string path = folder.file("left.bin");
    const Bytes data = FileBytes::pattern(WriteBehind::Buffers * kChunk);
    {
        FileHandle file = create(path);
        WriteBehind writer(file, memory);
        writeThrough(writer, data, kChunk); // every buffer queued; no finish()
    }
    // Some whole chunks from the front, in order; never a chunk out of turn.
    const Bytes written = FileBytes::read(path);
    EXPECT_EQ(written.size() % kChunk, 0u);
    EXPECT_TRUE(std::equal(written.begin(), written.end(), data.begin()));
}
