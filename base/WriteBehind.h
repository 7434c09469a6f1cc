#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <exception>
#include <mutex>
#include <span>
#include <thread>
#include <vector>

class FileHandle;

// Writes a file's data on a second thread while the caller reads, sums or enciphers the next
// chunk. A pass over a large file costs two copies per byte (into the program and out to the
// file); on two cores they run side by side instead of one after the other.
//
// The caller fills the buffer that nextBuffer() hands out and queues it with write(); chunks
// reach the file in that order, at the file's position. Memory stays bounded: a few buffers of
// ChunkSize bytes, lent by the caller so that a split of many parts reuses them. A file that
// gets a single chunk is written on the caller's thread, so small files start no thread; so is
// everything when no thread can be started.
//
// A failed write is thrown (the FileHandle's FileError) from the caller's next call. Whatever
// ends the writer early (a throw, or the object going out of scope) waits for the write in
// progress and drops the queued ones: declared after the file it writes to, it never outlives it.
class WriteBehind {
public:
    // Bytes per chunk: a chunk is still in the cache when the thread writes it.
    static constexpr std::size_t ChunkSize = std::size_t(512) << 10;
    static constexpr std::size_t Buffers = 4;

    // The file must outlive this object; `memory` is sized here and may be reused afterwards.
    WriteBehind(FileHandle& file, std::vector<std::uint8_t>& memory);
    ~WriteBehind();
    WriteBehind(const WriteBehind&) = delete;
    WriteBehind& operator=(const WriteBehind&) = delete;

    // A buffer of ChunkSize bytes for the next chunk; waits while every buffer is queued.
    std::span<std::uint8_t> nextBuffer();
    // Queues the first `length` bytes of the buffer from the last nextBuffer().
    void write(std::size_t length);
    // Returns once every queued byte is in the file.
    void finish();

private:
    struct Chunk {
        std::size_t buffer;
        std::size_t length;
    };

    std::uint8_t* bufferAt(std::size_t index) { return memory_.data() + index * ChunkSize; }
    void writeQueued();
    void run();
    void rethrowFailure();
    void stop() noexcept;

    FileHandle& file_;
    std::vector<std::uint8_t>& memory_;
    std::size_t next_ = 0;   // buffer handed out by the last nextBuffer()
    std::size_t inUse_ = 0;  // buffers queued or being written
    std::deque<Chunk> queue_;
    bool stopping_ = false;
    bool threadless_ = false; // a thread could not be started
    std::exception_ptr failure_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::thread thread_;
};
