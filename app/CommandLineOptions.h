#pragma once

#include <string>

// What the command line of the desktop program asks for. Options of the window system
// ("-platform", "-style") are left to it; file names are accepted and open nothing.
class CommandLineOptions {
public:
    enum class Action { Run, ShowHelp, ShowVersion };

    static Action parse(int argc, const char* const* argv);
    static std::string helpText(const std::string& programName);
    static std::string versionText();
};
