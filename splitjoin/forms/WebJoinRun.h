#pragma once

#include "base/MessageBoxSink.h"
#include "base/StatusSink.h"
#include "transfer/WebJoiner.h"

#include <QObject>
#include <QString>

#include <thread>

// One join from a web address on a worker thread, so that the window stays live and the user can
// cancel. Its texts, progress and end reach the window thread as queued signals.
class WebJoinRun : public QObject, private StatusSink, private MessageBoxSink {
    Q_OBJECT
public:
    explicit WebJoinRun(WebJoiner::Request request, QObject* parent = nullptr);
    // Cancels a join still running and waits for its thread, which ends soon after.
    ~WebJoinRun() override;

    void start();
    void cancel() { joiner_.cancel(); }

signals:
    void statusChanged(const QString& text);
    void progressed(int percent);
    // stopBox: the text of the box a failure must show (a missing part, a checksum), else empty.
    void finished(bool joined, const QString& outputPath, const QString& stopBox);

private:
    void setStatus(const std::string& text) override;
    void showStopBox(const std::string& text) override;
    void run();

    WebJoiner::Request request_;
    WebJoiner joiner_;
    std::thread thread_;
    // Set and read on the worker thread only: the joiner's sinks are called from join().
    std::string stopBox_;
    int lastPercent_ = -1;
};
