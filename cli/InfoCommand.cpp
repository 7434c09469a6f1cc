#include "cli/InfoCommand.h"

#include "base/FileError.h"
#include "cli/AnalysedMp3.h"
#include "cli/CommandLine.h"
#include "cli/ConsoleReporter.h"
#include "splitjoin/PartInfo.h"
#include "splitjoin/PartType.h"
#include "metadata/AnalyzerLines.h"

#include <cstdio>

const char* InfoCommand::usage() {
    return "usage: quarvel-cli info FILE [--key KEY]\n"
           "\n"
           "For a part file: its type, index, count, stored name, data length and whether its\n"
           "checksum holds with KEY (default: no key). For an OLD or ENC file: its kind and the\n"
           "name a join would give it. For an MP3 file: the Player's analyser lines (\"Track Info\"\n"
           "with the tag texts, \"MPEG Info\" with the stream found by a walk over all its frames)\n"
           "and which ID3 tags it carries.\n";
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

// The analyser tree's lines for an MP3 file; false when the file holds no MPEG audio.
bool printMp3(const std::string& path, MessageBoxSink& messages) {
    AnalysedMp3 mp3(messages);
    if (mp3.analyse(path) != 0) return false;
    const XA_AnalyzerInfo& info = mp3.info();
    auto text = [](const char* value) { return value ? value : ""; };
    const std::size_t slash = path.rfind('/');
    std::printf("%s\n", slash == std::string::npos ? path.c_str() : path.c_str() + slash + 1);
    std::printf("Track Info\n");
    std::printf("  Title: %s\n  Artist: %s\n  Album: %s\n", text(info.title), text(info.artist), text(info.album));
    std::printf("  Year: %s\n  Comment: %s\n", text(info.year), text(info.comment));
    std::printf("  Genre: %s\n  Track: %s\n", mp3.genreName().c_str(), mp3.tags().Track().c_str());
    std::printf("MPEG Info\n");
    for (const std::string& line : AnalyzerLines::mpegInfo(info)) std::printf("  %s\n", line.c_str());
    std::printf("Tags: %s\n", mp3.tagsCarried().c_str());
    return true;
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
        if (printMp3(path, reporter)) return 0;
        reporter.setStatus("Keine Datei zu decodieren");
        return 1;
    } catch (const FileError& error) {
        reporter.error(error.path() + ": " + error.description());
        return 1;
    }
}
