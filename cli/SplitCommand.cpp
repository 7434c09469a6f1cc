#include "cli/SplitCommand.h"

#include "base/FileError.h"
#include "base/ProgramFolder.h"
#include "cli/CommandLine.h"
#include "cli/ConsoleReporter.h"
#include "splitjoin/CCode.h"
#include "splitjoin/PartNaming.h"
#include "splitjoin/SplitSize.h"
#include "splitjoin/Splitter.h"

#include <charconv>
#include <cstdio>

const char* SplitCommand::usage() {
    return "usage: quarvel-cli split SOURCE [--size TEXT | --bytes N] [--out DIR] [--name NAME]\n"
           "                         [--crypt-data] [--key KEY]\n"
           "                         [--page [--date] [--uploader NAME] [--style N] [--app-dir DIR]]\n"
           "\n"
           "Cuts SOURCE into part files NAME00.ppt, NAME01.ppt, ... in the output folder.\n"
           "  --size TEXT     split size as the Encoder offers it: \"1.4 MB\", \"0.0 MB unsplit\"\n"
           "                  (default \"1.0 MB\"); the number times 1,000,000 bytes\n"
           "  --bytes N       split size in bytes (more than 178; 0 for one unsplit part)\n"
           "  --out DIR       output folder (default: the source's folder)\n"
           "  --name NAME     file name of part 0 (default: the sanitised source name + 00.ppt)\n"
           "  --crypt-data    encipher the data of every part, not only the name\n"
           "  --key KEY       crypt key of at most 10 characters\n"
           "  --page          write the HTML download page NAME.html beside the parts\n"
           "  --date          with --page and a bottom.txt: add the \"Last update\" line\n"
           "  --uploader NAME put before the date\n"
           "  --style N       0: gold page style (default), other: blue\n"
           "  --app-dir DIR   where stylesheet.css and bottom.txt are looked for\n"
           "                  (default: the program folder)\n";
}

namespace {

bool configure(const CommandLine& line, SplitValues& values, ConsoleReporter& reporter) {
    if (const auto bytes = line.value("--bytes")) {
        std::uint64_t size = 0;
        const auto [end, error] = std::from_chars(bytes->data(), bytes->data() + bytes->size(), size);
        if (error != std::errc() || end != bytes->data() + bytes->size()) {
            reporter.error("--bytes takes a whole number of bytes");
            return false;
        }
        values.splitSize = SplitSize::ofBytes(size);
    } else {
        values.splitSize = SplitSize(line.value("--size").value_or("1.0 MB"));
    }
    if (!line.shortValue("--key", CCode::MaxUserKeyLength, values.userKey)) return false;
    values.cryptData = line.has("--crypt-data");
    values.makePage = line.has("--page");
    values.pageDate = line.has("--date");
    values.uploader = line.value("--uploader").value_or("");
    values.style = std::atoi(line.value("--style").value_or("0").c_str());
    values.appDir = line.value("--app-dir").value_or(ProgramFolder::current());
    return true;
}

} // namespace

int SplitCommand::run(const std::vector<std::string>& arguments) {
    CommandLine line({"--crypt-data", "--page", "--date"},
                     {"--size", "--bytes", "--out", "--name", "--key", "--uploader", "--style", "--app-dir"});
    if (const auto exitCode = line.start(arguments, usage(), 1)) return *exitCode;
    if (line.has("--size") && line.has("--bytes")) {
        std::fputs(usage(), stderr);
        return 2;
    }
    ConsoleReporter reporter;
    Splitter splitter(reporter);
    SplitValues& values = splitter.values();
    if (!configure(line, values, reporter)) return 2;
    std::optional<std::string> name;
    if (!line.fileNameValue("--name", name)) return 2;
    const std::string& source = line.positional().front();
    splitter.setProgressCallback([&](const Progress& progress) { reporter.progress(progress); });
    try {
        splitter.DeriveOutputName(source);
        if (name) values.outputName = *name;
        values.outputFolder = line.value("--out").value_or(values.currentFolder.empty() ? "." : values.currentFolder);
        return splitter.Split() ? 0 : 1;
    } catch (const FileError& error) {
        reporter.error(error.path() + ": " + error.description());
        return 1;
    }
}
