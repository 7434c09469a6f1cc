#pragma once

#include "app/FileHandle.h"

#include <string>

// A new file written under a hidden temporary name beside its target, that takes the target's
// name only when commit() is called. Until then an existing file of that name stays untouched;
// a file that is never committed is removed, so a failed operation leaves nothing half-written
// under the final name. The new file takes the owner and permissions of the file it replaces,
// and a target reached through symbolic links is replaced where it lies.
class ReplacingFile {
public:
    ReplacingFile() = default;
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;
    ~ReplacingFile();

    // Creates the temporary file in the target's folder; false with errorNumber() on failure.
    bool create(const std::string& targetPath);
    int errorNumber() const { return errorNumber_; }
    FileHandle& file() { return file_; }
    const std::string& temporaryPath() const { return temporaryPath_; }

    // Closes the file and renames it over the target. With durable set, the data reaches the
    // disk first (before the caller deletes what the file was made from).
    void commit(bool durable);

private:
    void keepOwnerAndMode();

    FileHandle file_;
    std::string targetPath_;
    std::string temporaryPath_;
    int errorNumber_ = 0;
    bool committed_ = false;
};
