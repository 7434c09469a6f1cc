#include "base/ReplacingFile.h"

#include "base/FileError.h"
#include "base/Utf8Text.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

namespace {

// Room for the dot and the ".quarvel-xxxxxx.tmp" suffix within the 255 bytes a file name may have.
constexpr std::size_t kLongestTemporaryStem = 200;
constexpr std::string_view kMarker = ".quarvel-";
constexpr std::string_view kExtension = ".tmp";
constexpr std::size_t kNumberDigits = 6;

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// ".NAME.quarvel-": the start of every temporary name of this target.
std::string temporaryPrefix(const std::string& targetPath) {
    const std::size_t slash = targetPath.rfind('/');
    const std::string_view name =
        slash == std::string::npos ? std::string_view(targetPath) : std::string_view(targetPath).substr(slash + 1);
    std::string prefix = ".";
    prefix += Utf8Text::cutAtBoundary(name, kLongestTemporaryStem);
    prefix += kMarker;
    return prefix;
}

std::string temporaryName(const std::string& targetPath, unsigned number) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%06x", number & 0xFFFFFFu);
    return folderOf(targetPath) + temporaryPrefix(targetPath) + digits + std::string(kExtension);
}

// ".NAME.quarvel-xxxxxx.tmp" for any NAME.
bool isTemporary(std::string_view name) {
    const std::size_t tail = kMarker.size() + kNumberDigits + kExtension.size();
    if (name.size() <= tail || name.front() != '.') return false;
    const std::string_view end = name.substr(name.size() - tail);
    const std::string_view digits = end.substr(kMarker.size(), kNumberDigits);
    return end.substr(0, kMarker.size()) == kMarker &&
           digits.find_first_not_of("0123456789abcdef") == std::string_view::npos &&
           end.substr(kMarker.size() + kNumberDigits) == kExtension;
}

bool isTemporaryOf(std::string_view name, const std::string& prefix) {
    return name.size() == prefix.size() + kNumberDigits + kExtension.size() &&
           name.substr(0, prefix.size()) == prefix && isTemporary(name);
}

std::int64_t nanoseconds(const timespec& time) { return std::int64_t(time.tv_sec) * 1'000'000'000 + time.tv_nsec; }

// When this process started, in nanoseconds of the real-time clock; none when the system does
// not say. The kernel counts the start in clock ticks since boot.
std::optional<std::int64_t> processStart() {
    static const std::optional<std::int64_t> start = []() -> std::optional<std::int64_t> {
        std::ifstream file("/proc/self/stat");
        std::string line;
        if (!std::getline(file, line) || line.rfind(')') == std::string::npos) return std::nullopt;
        // Behind the program's name (which may hold blanks) come the fields from the third on;
        // the start time is the 22nd.
        std::istringstream fields(line.substr(line.rfind(')') + 1));
        std::string field;
        for (int number = 3; number <= 22 && fields >> field; ++number) {}
        const long ticksPerSecond = ::sysconf(_SC_CLK_TCK);
        timespec boot {}, now {};
        if (!fields || ticksPerSecond <= 0 || ::clock_gettime(CLOCK_BOOTTIME, &boot) != 0 ||
            ::clock_gettime(CLOCK_REALTIME, &now) != 0)
            return std::nullopt;
        const auto ticks = static_cast<std::int64_t>(std::strtoull(field.c_str(), nullptr, 10));
        const std::int64_t sinceBoot = ticks / ticksPerSecond * 1'000'000'000 + ticks % ticksPerSecond * 1'000'000'000 / ticksPerSecond;
        return nanoseconds(now) - (nanoseconds(boot) - sinceBoot);
    }();
    return start;
}

// A temporary file is abandoned when it was last written before this process started (so it is
// not one that another process is just creating) and nobody holds its lock (its writer is gone).
void removeIfAbandoned(const std::string& path, std::int64_t started) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return;
    struct stat opened {}, named {};
    const bool abandoned = ::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) &&
                           nanoseconds(opened.st_mtim) < started && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
                           ::lstat(path.c_str(), &named) == 0 && named.st_ino == opened.st_ino &&
                           named.st_dev == opened.st_dev;
    if (abandoned) ::unlink(path.c_str());
    ::close(fd);
}

// folder: empty or ending in '/'. Each name that `matches` is a candidate.
template <typename Matches>
void removeAbandonedTemporaries(const std::string& folder, Matches matches) {
    const std::optional<std::int64_t> started = processStart();
    if (!started) return;
    DIR* listing = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!listing) return;
    while (const dirent* entry = ::readdir(listing))
        if (matches(std::string_view(entry->d_name))) removeIfAbandoned(folder + entry->d_name, *started);
    ::closedir(listing);
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

void ReplacingFile::removeAbandonedIn(const std::string& folder) {
    std::string listed = folder;
    if (!listed.empty() && listed.back() != '/') listed += '/';
    removeAbandonedTemporaries(listed, isTemporary);
}

bool ReplacingFile::create(const std::string& targetPath, Leftovers leftovers) {
    targetPath_ = resolvedTarget(targetPath);
    if (refuseSpecialTarget()) return false;
    if (leftovers == Leftovers::RemoveOfTarget) {
        const std::string prefix = temporaryPrefix(targetPath_);
        removeAbandonedTemporaries(folderOf(targetPath_),
                                   [&](std::string_view name) { return isTemporaryOf(name, prefix); });
    }
    std::random_device seed;
    std::minstd_rand numbers(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string candidate = temporaryName(targetPath_, static_cast<unsigned>(numbers()));
        if (file_.open(candidate, FileHandle::Mode::CreateExclusive)) {
            temporaryPath_ = candidate;
            // Where the file system has no locks, nobody can take one: the file is then never
            // taken for abandoned either.
            file_.tryLockExclusive();
            lock_ = file_.duplicate();
            keepOwnerAndMode();
            return true;
        }
        if (file_.errorNumber() != EEXIST) break;
    }
    errorNumber_ = file_.errorNumber();
    return false;
}

// Renaming over a folder fails anyway; over a device or a pipe it would put a plain file in
// place of the device, which is never what writing to it means.
bool ReplacingFile::refuseSpecialTarget() {
    struct stat target {};
    if (::stat(targetPath_.c_str(), &target) != 0 || S_ISREG(target.st_mode)) return false;
    errorNumber_ = S_ISDIR(target.st_mode) ? EISDIR : FileError::NotRegularFile;
    return true;
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
    lock_ = FileHandle();
}
