#include "cli/JoinCommand.h"

#include "base/FileError.h"
#include "cli/CommandLine.h"
#include "cli/ConsoleReporter.h"
#include "cli/WebJoinCommand.h"
#include "splitjoin/CCode.h"
#include "splitjoin/Joiner.h"
#include "splitjoin/PartNaming.h"
#include "transfer/WebAddress.h"

#include <cstdio>

const char* JoinCommand::usage() {
    return "usage: quarvel-cli join PART [--out DIR] [--name NAME] [--key KEY] [--delete]\n"
           "       quarvel-cli join URL [--out DIR] [--name NAME] [--key KEY] [--timeout SECONDS]\n"
           "\n"
           "Rebuilds the file that PART belongs to; PART may be any part of a set, or an OLD or\n"
           "ENC file. Every part is checked before the rebuilt file takes its name.\n"
           "URL is the http://, https:// or ftp:// address of any part of a set or of its download\n"
           "page: the parts are fetched up to 4 at a time, a broken download resumes, and each part\n"
           "is checked as it goes into the rebuilt file.\n"
           "  --out DIR    output folder (default: the folder of PART; for a URL the current one)\n"
           "  --name NAME  output file name (default: the name stored in the part)\n"
           "  --key KEY    the crypt key the set was written with (at most 10 characters)\n"
           "  --delete     delete the parts after a successful join\n"
           "  --timeout S  for a URL: give up a connection that brings no data for S seconds and\n"
           "               try again from where it stopped (default 30)\n";
}

int JoinCommand::run(const std::vector<std::string>& arguments) {
    CommandLine line({"--delete"}, {"--out", "--name", "--key", "--timeout"});
    if (const auto exitCode = line.start(arguments, usage(), 1)) return *exitCode;
    if (WebAddress::isWebAddress(line.positional().front())) return WebJoinCommand::run(line);
    if (line.has("--timeout")) {
        std::fprintf(stderr, "quarvel-cli: --timeout applies to a web address only\n");
        return 2;
    }
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
