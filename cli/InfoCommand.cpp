#include "cli/InfoCommand.h"

#include "cli/CommandLine.h"
#include "cli/ConsoleReporter.h"
#include "cli/InfoFacts.h"
#include "cli/InfoJsonFormatter.h"
#include "cli/InfoTextFormatter.h"

#include <cstdio>
#include <limits>

const char* InfoCommand::usage() {
    return "usage: quarvel-cli info FILE... [--key KEY] [--json]\n"
           "\n"
           "For a part file: its type, index, count, stored name, data length and whether its\n"
           "checksum holds with KEY (default: no key). For an OLD or ENC file: its kind and the\n"
           "name a join would give it. For an MP3 file: the Player's analyser lines (\"Track Info\"\n"
           "with the tag texts, \"MPEG Info\" with the stream found by a walk over all its frames)\n"
           "and which ID3 tags it carries. Several files are shown one after the other, a blank\n"
           "line between them.\n"
           "\n"
           "  --json  one JSON object per file and line: \"file\" and \"type\" with the facts, or\n"
           "          \"file\" and \"error\" for a file that cannot be read\n"
           "\n"
           "Exit status 1 when any file cannot be read or a part's checksum does not hold.\n";
}

int InfoCommand::run(const std::vector<std::string>& arguments) {
    CommandLine line({"--json"}, {"--key"});
    if (const auto exitCode = line.start(arguments, usage(), 1, std::numeric_limits<std::size_t>::max()))
        return *exitCode;
    const bool json = line.has("--json");
    const bool several = line.positional().size() > 1;
    ConsoleReporter reporter;
    bool anyFailed = false;
    bool anyShown = false;
    for (const std::string& path : line.positional()) {
        const InfoFacts facts = InfoFacts::read(path, line.value("--key").value_or(""), reporter);
        anyFailed = anyFailed || facts.failed();
        if (facts.kind == InfoFacts::Kind::Failed) reporter.error(path + ": " + facts.error);
        const std::string text = json ? InfoJsonFormatter::format(facts) + "\n" : InfoTextFormatter::format(facts, several);
        if (text.empty()) continue;
        if (anyShown && !json) std::fputs("\n", stdout);
        std::fputs(text.c_str(), stdout);
        // Each file's text leaves at once, in order with the messages on standard error.
        std::fflush(stdout);
        anyShown = true;
    }
    return anyFailed ? 1 : 0;
}
