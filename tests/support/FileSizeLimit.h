#pragma once

#include <cstdint>

// While it lives, no file of the process may grow past limit bytes: a write beyond fails with
// "File too large" (EFBIG) instead of the signal, as a full disk would fail it. It stops root's
// writes too, where a read-only folder would not.
class FileSizeLimit {
public:
    explicit FileSizeLimit(std::uint64_t limit);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    std::uint64_t previousSoft_;
    void (*previousHandler_)(int);
};
