#include "platform/xaudio/BufferedFileReader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

ssize_t preadFully(int descriptor, std::uint8_t* out, std::size_t length, off_t offset) {
    std::size_t done = 0;
    while (done < length) {
        const ssize_t got = ::pread(descriptor, out + done, length - done, offset + static_cast<off_t>(done));
        if (got < 0) {
            if (errno == EINTR) continue;
            return -1;
        }
        if (got == 0) break;
        done += static_cast<std::size_t>(got);
    }
    return static_cast<ssize_t>(done);
}

} // namespace

void BufferedFileReader::attach(int descriptor) {
    descriptor_ = descriptor;
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
                const ssize_t got = preadFully(descriptor_, to + done, length - done, position());
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
    const ssize_t got = preadFully(descriptor_, buffer_.data(), buffer_.size(), bufferStart_);
    if (got < 0) return false;
    filled_ = static_cast<std::size_t>(got);
    return true;
}

off_t BufferedFileReader::seek(off_t offset, int whence) {
    off_t target = offset;
    if (whence == SEEK_CUR) {
        target += position();
    } else if (whence == SEEK_END) {
        struct stat info {};
        if (::fstat(descriptor_, &info) != 0) return -1;
        target += info.st_size;
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
