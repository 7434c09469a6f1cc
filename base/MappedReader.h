#pragma once

#include "base/FileError.h"

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

class FileHandle;

// Reads an open file front to back in views, either through a memory mapping in bounded windows
// (a caller that must look at every byte and then write it copies each byte only once) or
// through read() into a reused buffer. A window is mapped only inside the file's size as fstat
// gives it just before, advised sequential and unmapped as soon as the reader moves on, so memory
// stays bounded whatever the file's size. A file that cannot be mapped is read instead.
//
// A file that another program cuts short while it is mapped can still take pages away under us:
// touching one raises SIGBUS. Every touch of a view therefore goes through touch(), which turns
// that signal into the same FileError (EIO) as a file that ends early on the read path. A cut
// inside the last page raises nothing (the page reads as zeros there), so touch() and writeFrom()
// also check the size once they are done: bytes that were no longer in the file are never
// passed off as read.
class MappedReader {
public:
    // Bytes mapped at most at once: a few large windows keep the mapping cost low, and the bound
    // keeps the resident memory of a multi-gigabyte file small.
    static constexpr std::size_t WindowSize = std::size_t(32) << 20;
    // Bytes read per call on the read path, and the most a view from it holds.
    static constexpr std::size_t ReadChunk = std::size_t(512) << 10;

    enum class Access { Map, Read };
    // For a pass over every byte of a large file. Measured on a virtual machine with shadow page
    // tables, the first touch of each freshly mapped page costs more than the kernel's copy from
    // its own mapping of the cache (2 to 3 times the time of a read of 1 GiB, page faults
    // prefetched or not), so the streaming passes read; the mapping stays one word away for
    // machines where it measures faster.
    static constexpr Access StreamAccess = Access::Read;

    // Reads `file` from `offset` on; the handle must outlive the reader.
    MappedReader(FileHandle& file, std::uint64_t offset, Access access = StreamAccess);
    ~MappedReader();
    MappedReader(const MappedReader&) = delete;
    MappedReader& operator=(const MappedReader&) = delete;

    // The next bytes of the file, at most `most` (and at most ReadChunk on the read path): a
    // view valid until the next call. Empty only when the file ends, so a caller that expects
    // more bytes knows the file shrank.
    std::span<const std::uint8_t> next(std::size_t most);
    const std::string& path() const;
    // Whether the views come from a mapping (false: the file could not be mapped).
    bool mapped() const { return mappable_; }

    // Runs action(context) where a SIGBUS from a page of this reader's window that vanished
    // turns into FileError(EIO) for the file instead of ending the program. The touch must hold
    // no object with a destructor (it is left by a jump when the signal comes) and must not throw
    // (the jump point of this thread would be left behind, pointing into a finished call).
    void touch(void (*action)(void* context), void* context) const;
    template <class Touch> void touch(Touch&& action) const {
        touch([](void* context) { (*static_cast<std::remove_reference_t<Touch>*>(context))(); }, &action);
    }
    // Runs a write of bytes from a view. The system reports a page that vanished under the write
    // as EFAULT: that is this file shrinking, and it reads as the same error as in touch().
    template <class Write> void writeFrom(Write&& write) const {
        try {
            write();
        } catch (const FileError& error) {
            if (error.errorNumber() != EFAULT) throw;
            throwShrunk();
        }
        checkStillThere();
    }

private:
    [[noreturn]] void throwShrunk() const;
    // Throws as above when the file no longer holds the bytes of the last view.
    void checkStillThere() const;
    std::span<const std::uint8_t> nextMapped(std::size_t most);
    std::span<const std::uint8_t> nextRead(std::size_t most);
    void mapWindowAt(std::uint64_t offset, std::uint64_t fileSize);
    void unmap();

    FileHandle& file_;
    std::uint64_t position_;
    bool mappable_; // until a mapping fails; then the read path for good
    std::uint8_t* mapping_ = nullptr;
    std::size_t mappingLength_ = 0;
    std::uint64_t mappingOffset_ = 0; // file offset of the mapping's first byte (page aligned)
    std::vector<std::uint8_t> buffer_;
};
