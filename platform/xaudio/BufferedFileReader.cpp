#include "platform/xaudio/BufferedFileReader.h"

#include "base/FileError.h"
#include "base/FileHandle.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

void BufferedFileReader::attach(FileHandle& file) {
    file_ = &file;
    if (buffer_.empty()) buffer_.resize(BufferSize);
    bufferStart_ = 0;
    filled_ = cursor_ = 0;
}

ssize_t BufferedFileReader::read(void* out, std::size_t length) {
    auto* to = static_cast<std::uint8_t*>(out);
    std::size_t done = 0;
    while (done < length) {
        if (cursor_ == filled_) {
            // A read larger than the buffer goes straight to the caller.
            if (length - done >= buffer_.size()) {
                const ssize_t got = readFile(to + done, length - done, position());
                if (got < 0) return done > 0 ? static_cast<ssize_t>(done) : -1;
                bufferStart_ = position() + got;
                filled_ = cursor_ = 0;
                return static_cast<ssize_t>(done + static_cast<std::size_t>(got));
            }
            if (!refill()) return done > 0 ? static_cast<ssize_t>(done) : -1;
            if (filled_ == 0) break; // the end of the file
        }
        const std::size_t step = std::min(length - done, filled_ - cursor_);
        std::memcpy(to + done, buffer_.data() + cursor_, step);
        cursor_ += step;
        done += step;
    }
    return static_cast<ssize_t>(done);
}

bool BufferedFileReader::refill() {
    bufferStart_ = position();
    filled_ = cursor_ = 0;
    const ssize_t got = readFile(buffer_.data(), buffer_.size(), bufferStart_);
    if (got < 0) return false;
    filled_ = static_cast<std::size_t>(got);
    return true;
}

off_t BufferedFileReader::seek(off_t offset, int whence) {
    off_t target = offset;
    if (whence == SEEK_CUR) {
        target += position();
    } else if (whence == SEEK_END) {
        try {
            target += static_cast<off_t>(file_->size());
        } catch (const FileError& error) {
            errno = error.errorNumber();
            return -1;
        }
    } else if (whence != SEEK_SET) {
        errno = EINVAL;
        return -1;
    }
    if (target < 0) {
        errno = EINVAL;
        return -1;
    }
    if (target >= bufferStart_ && target <= bufferStart_ + static_cast<off_t>(filled_)) {
        cursor_ = static_cast<std::size_t>(target - bufferStart_);
    } else {
        bufferStart_ = target;
        filled_ = cursor_ = 0;
    }
    return target;
}

// libmpg123 calls in from C: a read error goes back as -1 with errno, as from read(2).
ssize_t BufferedFileReader::readFile(std::uint8_t* out, std::size_t length, off_t offset) {
    try {
        return static_cast<ssize_t>(file_->readAt(out, length, static_cast<std::uint64_t>(offset)));
    } catch (const FileError& error) {
        errno = error.errorNumber();
        return -1;
    }
}
