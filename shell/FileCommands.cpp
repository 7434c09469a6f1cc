#include "shell/FileCommands.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool FileCommands::remove(const std::string& path) { return ::unlink(path.c_str()) == 0; }

bool FileCommands::renameWithinFolder(const std::string& path, const std::string& newName) {
    if (newName.empty() || newName == "." || newName == ".." || newName.find('/') != std::string::npos)
        return false;
    const std::size_t slash = path.rfind('/');
    const std::string newPath = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + newName;
    if (newPath == path) return false;
    // RENAME_NOREPLACE makes "the target exists" and the rename one step, so no file that
    // appears in between is replaced either.
    if (::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, newPath.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // A file system without RENAME_NOREPLACE: check first, then rename.
    struct stat existing {};
    if (::lstat(newPath.c_str(), &existing) == 0) return false;
    return ::rename(path.c_str(), newPath.c_str()) == 0;
}
