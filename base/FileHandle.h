#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// An open file of any size (64-bit offsets), closed when the handle goes.
// Opening reports failure by return value and errorNumber(), because the program shows a text of
// its own for it; a read or write error later throws FileError.
class FileHandle {
public:
    enum class Mode {
        Read,           // others may read, nobody writes through us
        CreateTruncate, // create or replace
        CreateExclusive, // create a new file; fails when the name exists
        ReadWrite       // an existing file, read and written in place
    };

    FileHandle() = default;
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    FileHandle(FileHandle&& other) noexcept;
    FileHandle& operator=(FileHandle&& other) noexcept;
    ~FileHandle();

    // Opens a regular file; anything else (a folder, FIFO, device or socket) is refused at once
    // with EISDIR or FileError::NotRegularFile, never waited on.
    bool open(const std::string& path, Mode mode);
    bool isOpen() const { return fd_ >= 0; }
    int errorNumber() const { return errorNumber_; }
    const std::string& path() const { return path_; }
    // For a library that reads the open file itself; the handle still owns and closes it.
    int descriptor() const { return fd_; }

    std::uint64_t size() const;
    // Reads until the buffer is full or the file ends; returns the bytes read.
    std::size_t read(void* buffer, std::size_t length);
    // The same from offset, without moving the file's position.
    std::size_t readAt(void* buffer, std::size_t length, std::uint64_t offset);
    void write(const void* data, std::size_t length);
    void writeAt(const void* data, std::size_t length, std::uint64_t offset);
    void seek(std::uint64_t offset);
    // Appends this file's bytes from offset to its end at target's position, inside the kernel
    // where the file systems allow it. Returns the bytes copied.
    std::uint64_t copyTo(FileHandle& target, std::uint64_t offset);
    void flushToDisk();
    // Cuts the file to length bytes (or lengthens it with zeros).
    void truncate(std::uint64_t length);
    // Takes the file's exclusive advisory lock (flock) without waiting; false when another open
    // of the file holds a lock. The lock belongs to this open file and its duplicates.
    bool tryLockExclusive();
    // A second handle on the same open file (same position, same lock); closed on its own.
    FileHandle duplicate() const;
    // Closes and reports an error the system gives only at close (full disk on a network share).
    void close();

private:
    void refuseSpecialFile();
    void closeQuietly() noexcept;

    int fd_ = -1;
    int errorNumber_ = 0;
    std::string path_;
};
