#include "app/CommandLineOptions.h"

#include "base/CVersion.h"

#include <string_view>

CommandLineOptions::Action CommandLineOptions::parse(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--") break;
        if (argument == "--help" || argument == "-h") return Action::ShowHelp;
        if (argument == "--version" || argument == "-v") return Action::ShowVersion;
    }
    return Action::Run;
}

std::string CommandLineOptions::helpText(const std::string& programName) {
    return "Usage: " + programName + " [OPTION]... [FILE]...\n"
           "Split and join large files, play and tag MP3 files, convert WAV to MP3.\n"
           "Files named on the command line are not opened; choose them in the program.\n"
           "\n"
           "  -h, --help     show this help and exit\n"
           "  -v, --version  show the version and exit\n"
           "\n"
           "Settings are kept in $XDG_CONFIG_HOME/OzmoMp3s/vyx31.conf (~/.config by default).\n";
}

std::string CommandLineOptions::versionText() {
    return "quarvel " + CVersion(nullptr, "040904b0").GetVersionString(CVersion::ProductVersion) + "\n";
}
