#pragma once

#include <string>

// The file operations of the file list's Delete and Rename commands. Both answer whether the
// file system did it; a failure leaves every file as it was.
class FileCommands {
public:
    // Deletes the file at once (no trash folder).
    static bool remove(const std::string& path);
    // Gives the file a new name in its own folder. Refused when the name is empty, "." or "..",
    // would move the file elsewhere (holds a "/"), or belongs to an entry that exists: a rename
    // never replaces another file.
    static bool renameWithinFolder(const std::string& path, const std::string& newName);
};
