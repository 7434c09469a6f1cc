#pragma once

#include "base/MessageBoxSink.h"
#include "base/Progress.h"
#include "base/StatusSink.h"

#include <chrono>
#include <cstdio>
#include <string>

// The engines' status texts and messages on standard error, one line each, and a progress line
// (percent and MB/s) when standard error is a terminal.
class ConsoleReporter : public StatusSink, public MessageBoxSink {
public:
    explicit ConsoleReporter(std::FILE* stream = stderr);

    void setStatus(const std::string& text) override;
    // A message box text is always shown as status text as well, so it is printed once.
    void showStopBox(const std::string&) override {}
    void progress(const Progress& progress);
    void error(const std::string& text);

    // "\r\n" becomes a line end, tabs become blanks, and empty lines at the ends go.
    static std::string forConsole(const std::string& text);

private:
    void endProgressLine();

    std::FILE* stream_;
    bool terminal_;
    bool progressShown_ = false;
    std::chrono::steady_clock::time_point start_;
    std::chrono::steady_clock::time_point lastDrawn_;
};
