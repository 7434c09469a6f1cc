#include "app/ReplacingFile.h"

#include "app/FileError.h"
#include "app/Utf8Text.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Room for the dot and the ".xxxxxx.tmp" suffix within the 255 bytes a file name may have.
constexpr std::size_t kLongestTemporaryStem = 200;

std::string temporaryName(const std::string& targetPath, unsigned number) {
    const std::size_t slash = targetPath.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : targetPath.substr(0, slash + 1);
    const std::string name(Utf8Text::cutAtBoundary(
        slash == std::string::npos ? std::string_view(targetPath) : std::string_view(targetPath).substr(slash + 1),
        kLongestTemporaryStem));
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, ".%06x.tmp", number & 0xFFFFFFu);
    return folder + "." + name + suffix;
}

// An existing target reached through symbolic links is replaced where it lies, so the links
// keep pointing at the new content; a target that does not exist yet is used as given.
std::string resolvedTarget(const std::string& targetPath) {
    char resolved[PATH_MAX];
    return ::realpath(targetPath.c_str(), resolved) ? std::string(resolved) : targetPath;
}

} // namespace

ReplacingFile::~ReplacingFile() {
    if (!committed_ && !temporaryPath_.empty()) {
        file_ = FileHandle();
        ::unlink(temporaryPath_.c_str());
    }
}

bool ReplacingFile::create(const std::string& targetPath) {
    targetPath_ = resolvedTarget(targetPath);
    std::random_device seed;
    std::minstd_rand numbers(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string candidate = temporaryName(targetPath_, static_cast<unsigned>(numbers()));
        if (file_.open(candidate, FileHandle::Mode::CreateExclusive)) {
            temporaryPath_ = candidate;
            keepOwnerAndMode();
            return true;
        }
        if (file_.errorNumber() != EEXIST) break;
    }
    errorNumber_ = file_.errorNumber();
    return false;
}

void ReplacingFile::keepOwnerAndMode() {
    struct stat target {};
    if (::stat(targetPath_.c_str(), &target) != 0) return;
    // Who owns the file and who may read it stay as they were; an ordinary user cannot give a
    // file away, so a failed chown leaves the new file the user's own.
    [[maybe_unused]] const int owned = ::chown(temporaryPath_.c_str(), target.st_uid, target.st_gid);
    ::chmod(temporaryPath_.c_str(), target.st_mode & 07777);
}

void ReplacingFile::commit(bool durable) {
    if (durable) file_.flushToDisk();
    file_.close();
    if (::rename(temporaryPath_.c_str(), targetPath_.c_str()) != 0) throw FileError(targetPath_, errno);
    committed_ = true;
}
