#include "cli/InfoCommand.h"

#include "app/FileError.h"
#include "cli/CommandLine.h"
#include "cli/ConsoleReporter.h"
#include "splitjoin/PartInfo.h"
#include "splitjoin/PartType.h"

#include <cstdio>

const char* InfoCommand::usage() {
    return "usage: quarvel-cli info FILE [--key KEY]\n"
           "\n"
           "For a part file: its type, index, count, stored name, data length and whether its\n"
           "checksum holds with KEY (default: no key). For an OLD or ENC file: its kind and the\n"
           "name a join would give it.\n";
}

namespace {

void printPart(const PartInfo& info) {
    std::printf("Type: %s\n", std::string(PartType::label(info.type)).c_str());
    std::printf("Flags: %u\n", info.flags);
    std::printf("Part: %u\n", info.index);
    std::printf("Count: %u\n", info.count);
    std::printf("Name: %s\n", info.name.c_str());
    std::printf("Data length: %llu\n", static_cast<unsigned long long>(info.dataLength));
    std::printf("Checksum: %s\n", info.checksumHolds ? "ok" : "wrong (damaged part, or wrong crypt key)");
}

} // namespace

int InfoCommand::run(const std::vector<std::string>& arguments) {
    CommandLine line({}, {"--key"});
    if (const auto exitCode = line.start(arguments, usage(), 1)) return *exitCode;
    ConsoleReporter reporter;
    const std::string& path = line.positional().front();
    try {
        int errorNumber = 0;
        const auto info = PartInfo::read(path, line.value("--key").value_or(""), errorNumber);
        if (!info) {
            reporter.error(path + ": " + FileError::describe(errorNumber));
            return 1;
        }
        if (info->isPart) {
            printPart(*info);
            return info->checksumHolds ? 0 : 1;
        }
        if (info->isLegacy) {
            std::printf("Type: %s\nName: %s\n", std::string(PartType::label(info->type)).c_str(), info->name.c_str());
            return 0;
        }
        reporter.setStatus("Keine Datei zu decodieren");
        return 1;
    } catch (const FileError& error) {
        reporter.error(error.path() + ": " + error.description());
        return 1;
    }
}
