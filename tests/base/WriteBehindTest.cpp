#include "base/FileError.h"
#include "base/FileHandle.h"
#include "base/WriteBehind.h"

#include "support/FileBytes.h"
#include "support/FileSizeLimit.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

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

// From now on this process cannot start a thread: clone3 and clone fail with EAGAIN, as they do
// for a process at its limit of threads (which root, running the tests, never reaches).
bool forbidThreads() {
    sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_clone3, 2, 0),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_clone, 1, 0),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | EAGAIN),
    };
    sock_fprog program{static_cast<unsigned short>(std::size(filter)), filter};
    return prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 && prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
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

TEST(WriteBehindTest, WithoutAThreadEveryChunkIsWrittenOnTheCallersThread) {
#if defined(__SANITIZE_THREAD__) || defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizers' runtimes start threads of their own";
#endif
    TempFolder folder;
    const std::string path = folder.file("threadless.bin");
    const Bytes data = FileBytes::pattern(7 * kChunk + 3);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (!forbidThreads()) _exit(2);
        std::vector<std::uint8_t> memory;
        FileHandle file;
        if (!file.open(path, FileHandle::Mode::CreateTruncate)) _exit(3);
        WriteBehind writer(file, memory);
        writeThrough(writer, data, kChunk);
        writer.finish();
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the writer died: " << status;
    ASSERT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(FileBytes::read(path) == data);
}
