#include "cli/ConsoleReporter.h"

#include <unistd.h>

ConsoleReporter::ConsoleReporter(std::FILE* stream)
    : stream_(stream), terminal_(::isatty(::fileno(stream)) != 0),
      start_(std::chrono::steady_clock::now()) {}

std::string ConsoleReporter::forConsole(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\r') continue;
        out += c == '\t' ? ' ' : c;
    }
    const auto first = out.find_first_not_of(" \n");
    if (first == std::string::npos) return {};
    return out.substr(first, out.find_last_not_of(" \n") - first + 1);
}

void ConsoleReporter::setStatus(const std::string& text) {
    const std::string line = forConsole(text);
    if (line.empty()) return;
    endProgressLine();
    std::fprintf(stream_, "%s\n", line.c_str());
    std::fflush(stream_);
}

void ConsoleReporter::error(const std::string& text) { setStatus("quarvel-cli: " + text); }

void ConsoleReporter::progress(const Progress& progress) {
    if (!terminal_ || progress.bytesTotal == 0) return;
    const auto now = std::chrono::steady_clock::now();
    const bool finished = progress.bytesDone >= progress.bytesTotal;
    if (!finished && now - lastDrawn_ < std::chrono::milliseconds(100)) return;
    lastDrawn_ = now;
    const double seconds = std::chrono::duration<double>(now - start_).count();
    const double megabytesPerSecond = seconds > 0 ? progress.bytesDone / seconds / 1e6 : 0.0;
    std::fprintf(stream_, "\r%3d%%  part %llu of %llu  %.1f MB/s ",
                 static_cast<int>(100.0 * progress.bytesDone / progress.bytesTotal),
                 static_cast<unsigned long long>(progress.part + 1),
                 static_cast<unsigned long long>(progress.partCount), megabytesPerSecond);
    std::fflush(stream_);
    progressShown_ = true;
}

void ConsoleReporter::endProgressLine() {
    if (!progressShown_) return;
    std::fprintf(stream_, "\n");
    progressShown_ = false;
}
