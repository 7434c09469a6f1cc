#include "base/FileHandle.h"

#include "base/FileError.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

// Calls readSome(done), one read of the bytes after the first `done`, until `length` bytes are in
// or the file ends; an interrupted call is repeated. Returns the bytes read.
template <typename ReadSome>
std::size_t readFully(const std::string& path, std::size_t length, ReadSome readSome) {
    std::size_t done = 0;
    while (done < length) {
        const ssize_t got = readSome(done);
        if (got < 0) {
            if (errno == EINTR) continue;
            throw FileError(path, errno);
        }
        if (got == 0) break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

} // namespace

FileHandle::FileHandle(FileHandle&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), errorNumber_(other.errorNumber_),
      path_(std::move(other.path_)) {}

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
    if (this != &other) {
        closeQuietly();
        fd_ = std::exchange(other.fd_, -1);
        errorNumber_ = other.errorNumber_;
        path_ = std::move(other.path_);
    }
    return *this;
}

FileHandle::~FileHandle() { closeQuietly(); }

bool FileHandle::open(const std::string& path, Mode mode) {
    closeQuietly();
    path_ = path;
    int flags = O_CLOEXEC;
    switch (mode) {
    // O_NONBLOCK: a FIFO or a device opens at once instead of waiting for a writer; it is then
    // refused below, and a regular file ignores the flag for reads and writes.
    case Mode::Read: flags |= O_RDONLY | O_NONBLOCK; break;
    case Mode::CreateTruncate: flags |= O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK; break;
    case Mode::CreateExclusive: flags |= O_WRONLY | O_CREAT | O_EXCL; break;
    case Mode::ReadWrite: flags |= O_RDWR | O_NONBLOCK; break;
    }
    do {
        fd_ = ::open(path.c_str(), flags, 0666);
    } while (fd_ < 0 && errno == EINTR);
    errorNumber_ = fd_ < 0 ? errno : 0;
    if (fd_ >= 0) refuseSpecialFile();
    return fd_ >= 0;
}

// Only regular files are read or written: a folder opens for reading on Linux, and a FIFO or a
// device would block or never end. The descriptor goes back to blocking mode for the file.
void FileHandle::refuseSpecialFile() {
    struct stat info {};
    if (::fstat(fd_, &info) != 0) {
        errorNumber_ = errno;
        closeQuietly();
        return;
    }
    if (!S_ISREG(info.st_mode)) {
        closeQuietly();
        errorNumber_ = S_ISDIR(info.st_mode) ? EISDIR : FileError::NotRegularFile;
        return;
    }
    const int flags = ::fcntl(fd_, F_GETFL);
    if (flags >= 0 && (flags & O_NONBLOCK)) ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK);
}

std::uint64_t FileHandle::size() const {
    struct stat info {};
    if (::fstat(fd_, &info) != 0) throw FileError(path_, errno);
    return static_cast<std::uint64_t>(info.st_size);
}

std::size_t FileHandle::read(void* buffer, std::size_t length) {
    auto* out = static_cast<char*>(buffer);
    return readFully(path_, length, [&](std::size_t done) { return ::read(fd_, out + done, length - done); });
}

std::size_t FileHandle::readAt(void* buffer, std::size_t length, std::uint64_t offset) {
    auto* out = static_cast<char*>(buffer);
    return readFully(path_, length, [&](std::size_t done) {
        return ::pread(fd_, out + done, length - done, static_cast<off_t>(offset + done));
    });
}

void FileHandle::write(const void* data, std::size_t length) {
    const auto* in = static_cast<const char*>(data);
    while (length > 0) {
        const ssize_t put = ::write(fd_, in, length);
        if (put < 0) {
            if (errno == EINTR) continue;
            throw FileError(path_, errno);
        }
        in += put;
        length -= static_cast<std::size_t>(put);
    }
}

void FileHandle::writeAt(const void* data, std::size_t length, std::uint64_t offset) {
    const auto* in = static_cast<const char*>(data);
    while (length > 0) {
        const ssize_t put = ::pwrite(fd_, in, length, static_cast<off_t>(offset));
        if (put < 0) {
            if (errno == EINTR) continue;
            throw FileError(path_, errno);
        }
        in += put;
        offset += static_cast<std::uint64_t>(put);
        length -= static_cast<std::size_t>(put);
    }
}

void FileHandle::seek(std::uint64_t offset) {
    if (::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) < 0) throw FileError(path_, errno);
}

std::uint64_t FileHandle::copyTo(FileHandle& target, std::uint64_t offset) {
    std::uint64_t copied = 0;
    auto from = static_cast<off_t>(offset);
    while (true) {
        const ssize_t moved = ::copy_file_range(fd_, &from, target.fd_, nullptr, std::size_t(1) << 30, 0);
        if (moved > 0) {
            copied += static_cast<std::uint64_t>(moved);
            continue;
        }
        if (moved == 0) return copied;
        if (errno == EINTR) continue;
        if (copied == 0 && (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP)) break;
        throw FileError(path_, errno);
    }
    // The kernel cannot copy between these files: through a buffer, then.
    std::vector<char> buffer(std::size_t(1) << 20);
    seek(offset);
    while (const std::size_t got = read(buffer.data(), buffer.size())) {
        target.write(buffer.data(), got);
        copied += got;
    }
    return copied;
}

void FileHandle::flushToDisk() {
    if (::fdatasync(fd_) != 0 && errno != EINVAL && errno != EROFS) throw FileError(path_, errno);
}

void FileHandle::truncate(std::uint64_t length) {
    if (::ftruncate(fd_, static_cast<off_t>(length)) != 0) throw FileError(path_, errno);
}

bool FileHandle::tryLockExclusive() {
    int result;
    do {
        result = ::flock(fd_, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    return result == 0;
}

FileHandle FileHandle::duplicate() const {
    FileHandle copy;
    copy.fd_ = ::fcntl(fd_, F_DUPFD_CLOEXEC, 0);
    copy.errorNumber_ = copy.fd_ < 0 ? errno : 0;
    copy.path_ = path_;
    return copy;
}

void FileHandle::close() {
    if (fd_ < 0) return;
    const int result = ::close(std::exchange(fd_, -1));
    if (result != 0 && errno != EINTR) throw FileError(path_, errno);
}

void FileHandle::closeQuietly() noexcept {
    if (fd_ >= 0) ::close(std::exchange(fd_, -1));
}
