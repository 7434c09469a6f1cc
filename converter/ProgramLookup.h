#pragma once

#include <string>

// Finds an external program: in the program folder first, then in the folders of a PATH value.
class ProgramLookup {
public:
    // The full path of the executable file named name, or empty when there is none.
    static std::string find(const std::string& name, const std::string& programFolder, const std::string& pathVariable);
    // The same with the PATH of this process.
    static std::string find(const std::string& name, const std::string& programFolder);

private:
    static bool isExecutableFile(const std::string& path);
};
