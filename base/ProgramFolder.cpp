#include "base/ProgramFolder.h"

#include <filesystem>

std::string ProgramFolder::ofExecutable(const std::string& executablePath) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::path(executablePath).parent_path();
    std::error_code error;
    if (fs::is_directory(folder / "hlp", error)) return folder.string();
    const fs::path installed = folder / ".." / "share" / "quarvel";
    if (fs::is_directory(installed, error)) return fs::weakly_canonical(installed, error).string();
    return folder.string();
}

std::string ProgramFolder::current() {
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string(".") : ofExecutable(self.string());
}
