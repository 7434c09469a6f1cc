#pragma once

#include "base/FileHandle.h"

#include <string>

// A new file written under a hidden temporary name beside its target, that takes the target's
// name only when commit() is called. Until then an existing file of that name stays untouched;
// a file that is never committed is removed, so a failed operation leaves nothing half-written
// under the final name. The new file takes the owner and permissions of the file it replaces,
// and a target reached through symbolic links is replaced where it lies.
//
// The temporary file is named ".NAME.quarvel-XXXXXX.tmp" and locked (flock) while it lives. A
// program that is killed cannot remove its own: whoever replaces the same target later removes
// such leftovers, those that are older than its own process and that no process holds locked.
class ReplacingFile {
public:
    ReplacingFile() = default;
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;
    ~ReplacingFile();

    enum class Leftovers {
        RemoveOfTarget, // remove the abandoned temporaries of this target first
        Keep            // the caller removed them (a split of many parts lists its folder once)
    };

    // Creates the temporary file in the target's folder; false with errorNumber() on failure.
    // A target that exists but is no regular file (a folder, a device) is refused.
    bool create(const std::string& targetPath, Leftovers leftovers = Leftovers::RemoveOfTarget);
    // Removes the abandoned temporaries of every target in the folder.
    static void removeAbandonedIn(const std::string& folder);
    int errorNumber() const { return errorNumber_; }
    FileHandle& file() { return file_; }
    const std::string& temporaryPath() const { return temporaryPath_; }

    // Closes the file and renames it over the target. With durable set, the data reaches the
    // disk first (before the caller deletes what the file was made from).
    void commit(bool durable);

private:
    bool refuseSpecialTarget();
    void keepOwnerAndMode();

    FileHandle file_;
    // A second handle on the temporary file: it keeps the lock from the close of file_ (which
    // reports late write errors) until the rename.
    FileHandle lock_;
    std::string targetPath_;
    std::string temporaryPath_;
    int errorNumber_ = 0;
    bool committed_ = false;
};
