#include "cli/JoinCommand.h"

#include "base/FileError.h"
#include "cli/CommandLine.h"
#include "cli/ConsoleReporter.h"
#include "splitjoin/CCode.h"
#include "splitjoin/Joiner.h"
#include "splitjoin/PartNaming.h"

#include <cstdio>

const char* JoinCommand::usage() {
    return "usage: quarvel-cli join PART [--out DIR] [--name NAME] [--key KEY] [--delete]\n"
           "\n"
           "Rebuilds the file that PART belongs to; PART may be any part of a set, or an OLD or\n"
           "ENC file. Every part is checked before the rebuilt file takes its name.\n"
           "  --out DIR    output folder (default: the folder of PART)\n"
           "  --name NAME  output file name (default: the name stored in the part)\n"
           "  --key KEY    the crypt key the set was written with (at most 10 characters)\n"
           "  --delete     delete the parts after a successful join\n";
}

int JoinCommand::run(const std::vector<std::string>& arguments) {
    CommandLine line({"--delete"}, {"--out", "--name", "--key"});
    if (const auto exitCode = line.start(arguments, usage(), 1)) return *exitCode;
    std::optional<std::string> name;
    if (!line.fileNameValue("--name", name)) return 2;
    ConsoleReporter reporter;
    Joiner joiner(reporter, reporter);
    JoinValues& values = joiner.values();
    if (!line.shortValue("--key", CCode::MaxUserKeyLength, values.userKey)) return 2;
    const std::string& part = line.positional().front();
    values.inputPart = part;
    values.inputFolder = std::string(PartNaming::folder(part));
    values.outputFolder = line.value("--out").value_or(values.inputFolder.empty() ? "." : values.inputFolder);
    values.autoDelete = line.has("--delete");
    if (name) values.outputName = *name;
    joiner.setProgressCallback([&](const Progress& progress) { reporter.progress(progress); });
    try {
        if (!joiner.Join()) return 1;
        std::printf("%s\n", joiner.outputPath().c_str());
        return 0;
    } catch (const FileError& error) {
        reporter.error(error.path() + ": " + error.description());
        return 1;
    }
}
