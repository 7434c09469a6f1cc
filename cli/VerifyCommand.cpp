#include "cli/VerifyCommand.h"

#include "base/FileError.h"
#include "cli/CommandLine.h"
#include "cli/ConsoleReporter.h"
#include "splitjoin/CCode.h"
#include "splitjoin/SetChecker.h"

#include <cstdio>
#include <map>

namespace {

// "set of 6 parts for My Song.mp3: complete and sound", or the parts counted by what they are.
std::string summary(const SetChecker::Result& result) {
    std::string text;
    switch (result.kind) {
    case SetChecker::Kind::None: return "no set to check";
    case SetChecker::Kind::Old: text = "OLD file for " + result.name; break;
    case SetChecker::Kind::Enc: text = "ENC file for " + result.name; break;
    case SetChecker::Kind::Set:
        text = "set of " + std::to_string(result.partCount) + " parts for " + result.name;
        break;
    }
    if (result.sound()) return text + ": complete and sound";
    std::map<SetChecker::Status, std::uint64_t> counted;
    for (const auto& part : result.parts) counted[part.status] += part.run;
    std::string counts;
    for (const auto& [status, count] : counted)
        counts += (counts.empty() ? "" : ", ") + std::to_string(count) + " " + std::string(SetChecker::label(status));
    return text + ": " + counts;
}

} // namespace

const char* VerifyCommand::usage() {
    return "usage: quarvel-cli verify PART [--key KEY]\n"
           "\n"
           "Checks the set that PART belongs to without writing anything; PART may be any part of\n"
           "a set, or an OLD or ENC file. Prints one line per part (OK, missing, damaged, foreign\n"
           "or unreadable) and a summary; the exit status is 0 only for a complete, sound set.\n"
           "  --key KEY    the crypt key the set was written with (at most 10 characters)\n";
}

int VerifyCommand::run(const std::vector<std::string>& arguments) {
    CommandLine line({}, {"--key"});
    if (const auto exitCode = line.start(arguments, usage(), 1)) return *exitCode;
    std::string key;
    if (!line.shortValue("--key", CCode::MaxUserKeyLength, key)) return 2;
    ConsoleReporter reporter;
    try {
        const SetChecker::Result result = SetChecker::check(line.positional().front(), key);
        for (const auto& part : result.parts) std::printf("%s\n", SetChecker::line(part).c_str());
        std::printf("%s\n", summary(result).c_str());
        return result.sound() ? 0 : 1;
    } catch (const FileError& error) {
        reporter.error(error.path() + ": " + error.description());
        return 1;
    }
}
