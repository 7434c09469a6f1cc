#include "app/ReplacingFile.h"

#include "app/FileError.h"

#include <cerrno>
#include <cstdio>
#include <random>
#include <unistd.h>

namespace {

std::string temporaryName(const std::string& targetPath, unsigned number) {
    const std::size_t slash = targetPath.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : targetPath.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? targetPath : targetPath.substr(slash + 1);
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, ".%06x.tmp", number & 0xFFFFFFu);
    return folder + "." + name + suffix;
}

} // namespace

ReplacingFile::~ReplacingFile() {
    if (!committed_ && !temporaryPath_.empty()) {
        file_ = FileHandle();
        ::unlink(temporaryPath_.c_str());
    }
}

bool ReplacingFile::create(const std::string& targetPath) {
    targetPath_ = targetPath;
    std::random_device seed;
    std::minstd_rand numbers(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string candidate = temporaryName(targetPath, static_cast<unsigned>(numbers()));
        if (file_.open(candidate, FileHandle::Mode::CreateExclusive)) {
            temporaryPath_ = candidate;
            return true;
        }
        if (file_.errorNumber() != EEXIST) break;
    }
    errorNumber_ = file_.errorNumber();
    return false;
}

void ReplacingFile::commit(bool durable) {
    if (durable) file_.flushToDisk();
    file_.close();
    if (::rename(temporaryPath_.c_str(), targetPath_.c_str()) != 0) throw FileError(targetPath_, errno);
    committed_ = true;
}
