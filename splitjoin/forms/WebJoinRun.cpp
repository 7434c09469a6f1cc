#include "splitjoin/forms/WebJoinRun.h"

#include "base/FileError.h"
#include "framework/QtText.h"

#include <exception>

WebJoinRun::WebJoinRun(WebJoiner::Request request, QObject* parent)
    : QObject(parent), request_(std::move(request)), joiner_(*this, *this) {
    joiner_.setProgressCallback([this](const Progress& step) {
        if (step.bytesTotal == 0) return;
        const int percent = static_cast<int>(100 * step.bytesDone / step.bytesTotal);
        // Only a new percentage crosses to the window thread, not every arriving chunk.
        if (percent == lastPercent_) return;
        lastPercent_ = percent;
        emit progressed(percent);
    });
}

WebJoinRun::~WebJoinRun() {
    joiner_.cancel();
    if (thread_.joinable()) thread_.join();
}

void WebJoinRun::start() { thread_ = std::thread([this] { run(); }); }

void WebJoinRun::run() {
    bool joined = false;
    try {
        joined = joiner_.join(request_);
    } catch (const FileError& error) {
        showStopBox(error.description());
        setStatus(error.path() + ": " + error.description());
    } catch (const std::exception& error) {
        setStatus(error.what());
    }
    emit finished(joined, fromStd(joined ? joiner_.outputPath() : std::string()), fromStd(stopBox_));
}

void WebJoinRun::setStatus(const std::string& text) { emit statusChanged(fromStd(text)); }

void WebJoinRun::showStopBox(const std::string& text) { stopBox_ = text; }
