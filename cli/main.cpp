// quarvel-cli: the program's engines without a window, for scripts and servers.

#include "base/CVersion.h"
#include "cli/DecodeCommand.h"
#include "cli/DevicesCommand.h"
#include "cli/InfoCommand.h"
#include "cli/JoinCommand.h"
#include "cli/PlayCommand.h"
#include "cli/SplitCommand.h"
#include "cli/TagCommand.h"
#include "cli/UploadCommand.h"
#include "cli/VerifyCommand.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Command {
    const char* name;
    const char* summary;
    int (*run)(const std::vector<std::string>& arguments);
};

constexpr Command kCommands[] = {
    {"split", "cut a file into numbered part files", SplitCommand::run},
    {"join", "put a set of parts back together from any one of them", JoinCommand::run},
    {"verify", "check a set of parts from any one of them, writing nothing", VerifyCommand::run},
    {"upload", "send a set of parts and its download page to an FTP, SFTP or WebDAV server", UploadCommand::run},
    {"info", "show what files are: a part's header, an OLD or ENC file, an MP3's stream and tags", InfoCommand::run},
    {"tag", "write an MP3 file's ID3 tags", TagCommand::run},
    {"decode", "play an MP3 file or stream through the player into a WAV file", DecodeCommand::run},
    {"play", "play an MP3 file or stream on a sound device", PlayCommand::run},
    {"devices", "list the sound devices", DevicesCommand::run},
};

void printUsage(std::FILE* stream) {
    std::fprintf(stream, "usage: quarvel-cli COMMAND [ARGUMENTS]\n       quarvel-cli --version\n\ncommands:\n");
    for (const Command& command : kCommands) std::fprintf(stream, "  %-8s %s\n", command.name, command.summary);
    std::fprintf(stream, "\n'quarvel-cli COMMAND --help' describes a command.\n");
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        printUsage(stderr);
        return 2;
    }
    const std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        printUsage(stdout);
        return 0;
    }
    if (name == "--version" || name == "-v") {
        // The same answer as the window program's --version, from the one version block.
        std::printf("quarvel-cli %s\n", CVersion(nullptr, "040904b0").GetVersionString(CVersion::ProductVersion).c_str());
        return 0;
    }
    const std::vector<std::string> arguments(argv + 2, argv + argc);
    for (const Command& command : kCommands)
        if (name == command.name) return command.run(arguments);
    std::fprintf(stderr, "quarvel-cli: unknown command '%s'\n", name.c_str());
    printUsage(stderr);
    return 2;
}
