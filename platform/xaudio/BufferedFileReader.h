#pragma once

#include <cstddef>
#include <cstdint>
#include <sys/types.h>
#include <vector>

class FileHandle;

// The read and seek functions that libmpg123 calls on an open file, served from a large buffer:
// the decoder asks for each frame's header and body apart, a few hundred bytes a call, and one
// system call for each would cost more than the decoding's own reads. Reads go by pread from the
// position this reader keeps, so a seek inside the buffer costs nothing.
class BufferedFileReader {
public:
    static constexpr std::size_t BufferSize = std::size_t(256) << 10;

    // Starts over on `file` at its offset 0 with an empty buffer; the file stays the caller's and
    // outlives the reads.
    void attach(FileHandle& file);
    // As read(2) on a regular file: fills `out` unless the file ends; -1 with errno on an error.
    ssize_t read(void* out, std::size_t length);
    // As lseek(2): the new position, or -1 with errno.
    off_t seek(off_t offset, int whence);

private:
    bool refill();
    ssize_t readFile(std::uint8_t* out, std::size_t length, off_t offset);
    off_t position() const { return bufferStart_ + static_cast<off_t>(cursor_); }

    FileHandle* file_ = nullptr;
    std::vector<std::uint8_t> buffer_;
    off_t bufferStart_ = 0; // the file offset of buffer_[0]
    std::size_t filled_ = 0;
    std::size_t cursor_ = 0;
};
