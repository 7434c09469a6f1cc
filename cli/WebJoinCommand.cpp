#include "cli/WebJoinCommand.h"

#include "base/FileError.h"
#include "cli/CommandLine.h"
#include "cli/ConsoleReporter.h"
#include "splitjoin/CCode.h"
#include "transfer/WebJoiner.h"

#include <atomic>
#include <charconv>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <exception>
#include <optional>
#include <string>

namespace {

// Ctrl-C or a polite kill ends the join cleanly, so that its hidden files go with it.
std::atomic<WebJoiner*> runningJoin{nullptr};

extern "C" void cancelRunningJoin(int) {
    if (WebJoiner* joiner = runningJoin.load()) joiner->cancel();
}

class CancelOnSignal {
public:
    explicit CancelOnSignal(WebJoiner& joiner) {
        runningJoin = &joiner;
        previousInterrupt_ = std::signal(SIGINT, cancelRunningJoin);
        previousTerminate_ = std::signal(SIGTERM, cancelRunningJoin);
    }
    ~CancelOnSignal() {
        std::signal(SIGINT, previousInterrupt_);
        std::signal(SIGTERM, previousTerminate_);
        runningJoin = nullptr;
    }

private:
    void (*previousInterrupt_)(int) = nullptr;
    void (*previousTerminate_)(int) = nullptr;
};

bool secondsValue(const CommandLine& line, std::chrono::seconds& seconds) {
    const auto text = line.value("--timeout");
    if (!text) return true;
    long value = 0;
    const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), value);
    if (error != std::errc() || end != text->data() + text->size() || value < 1 || value > 3600) {
        std::fprintf(stderr, "quarvel-cli: --timeout takes a number of seconds from 1 to 3600\n");
        return false;
    }
    seconds = std::chrono::seconds(value);
    return true;
}

} // namespace

int WebJoinCommand::run(const CommandLine& line) {
    if (line.has("--delete")) {
        std::fprintf(stderr, "quarvel-cli: --delete applies to parts on this computer, not to a web address\n");
        return 2;
    }
    std::optional<std::string> name;
    if (!line.fileNameValue("--name", name)) return 2;
    WebJoiner::Request request;
    if (!line.shortValue("--key", CCode::MaxUserKeyLength, request.userKey)) return 2;
    ParallelDownloads::Limits limits;
    if (!secondsValue(line, limits.noData)) return 2;
    request.address = line.positional().front();
    request.outputFolder = line.value("--out").value_or(".");
    request.outputName = name.value_or("");

    ConsoleReporter reporter;
    WebJoiner joiner(reporter, reporter);
    joiner.setLimits(limits);
    joiner.setProgressCallback([&](const Progress& progress) { reporter.progress(progress); });
    CancelOnSignal cancelOnSignal(joiner);
    try {
        if (!joiner.join(request)) return 1;
        std::printf("%s\n", joiner.outputPath().c_str());
        return 0;
    } catch (const FileError& error) {
        reporter.error(error.path() + ": " + error.description());
    } catch (const std::exception& error) {
        reporter.error(error.what());
    }
    return 1;
}
