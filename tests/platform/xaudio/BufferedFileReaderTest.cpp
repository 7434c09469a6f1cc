#include "platform/xaudio/BufferedFileReader.h"

#include "base/FileHandle.h"
#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr off_t kBuffer = static_cast<off_t>(BufferedFileReader::BufferSize);

} // namespace

// The decoder's reads and seeks, inside the buffer, across its edge, past it, larger than it and
// past the end, answer as read(2) and lseek(2) on the file would.
TEST(BufferedFileReaderTest, ReadsAndSeeksAnswerAsTheFileDoes) {
    TempFolder folder;
    const Bytes bytes = FileBytes::pattern(3 * BufferedFileReader::BufferSize + 123);
    const auto length = static_cast<off_t>(bytes.size());
    FileBytes::write(folder.file("a.mp3"), bytes);
    FileHandle file;
    ASSERT_TRUE(file.open(folder.file("a.mp3"), FileHandle::Mode::Read));
    BufferedFileReader reader;
    reader.attach(file);

    struct Step {
        off_t offset;
        int whence;
        std::size_t read;
    };
    off_t position = 0;
    for (const Step& step : {Step{0, SEEK_CUR, 4}, Step{0, SEEK_CUR, 417}, Step{kBuffer - 10, SEEK_SET, 20},
                             Step{-5, SEEK_CUR, 4}, Step{0, SEEK_SET, 4}, Step{10, SEEK_SET, 2 * kBuffer + 7},
                             Step{-128, SEEK_END, 1000}, Step{0, SEEK_END, 10}, Step{length + 50, SEEK_SET, 10},
                             Step{kBuffer, SEEK_SET, 3}}) {
        const off_t base = step.whence == SEEK_SET ? 0 : step.whence == SEEK_CUR ? position : length;
        SCOPED_TRACE(std::to_string(base + step.offset) + " + " + std::to_string(step.read));
        position = reader.seek(step.offset, step.whence);
        ASSERT_EQ(position, base + step.offset);
        Bytes got(step.read);
        const ssize_t n = reader.read(got.data(), got.size());
        const off_t end = std::min<off_t>(length, position + static_cast<off_t>(step.read));
        const std::size_t expected = position < length ? static_cast<std::size_t>(end - position) : 0;
        ASSERT_EQ(n, static_cast<ssize_t>(expected));
        got.resize(expected);
        EXPECT_TRUE(std::equal(got.begin(), got.end(), bytes.begin() + std::min(position, length)));
        position += n;
        EXPECT_EQ(reader.seek(0, SEEK_CUR), position);
    }
    EXPECT_EQ(reader.seek(-1, SEEK_SET), -1);
}
