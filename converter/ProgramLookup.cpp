#include "converter/ProgramLookup.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

std::string ProgramLookup::find(const std::string& name, const std::string& programFolder, const std::string& pathVariable) {
    if (!programFolder.empty()) {
        const std::string beside = programFolder + (programFolder.back() == '/' ? "" : "/") + name;
        if (isExecutableFile(beside)) return beside;
    }
    std::size_t start = 0;
    while (start <= pathVariable.size()) {
        std::size_t end = pathVariable.find(':', start);
        if (end == std::string::npos) end = pathVariable.size();
        const std::string folder = pathVariable.substr(start, end - start);
        // An empty entry stands for the working folder, which is not searched: the encoder
        // runs in the program folder, and a file there was looked at above.
        if (!folder.empty()) {
            const std::string candidate = folder + (folder.back() == '/' ? "" : "/") + name;
            if (isExecutableFile(candidate)) return candidate;
        }
        start = end + 1;
    }
    return {};
}

std::string ProgramLookup::find(const std::string& name, const std::string& programFolder) {
    const char* path = std::getenv("PATH");
    return find(name, programFolder, path ? path : "");
}

bool ProgramLookup::isExecutableFile(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) && ::access(path.c_str(), X_OK) == 0;
}
