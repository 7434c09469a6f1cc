#pragma once

#include "base/Progress.h"
#include "base/StatusSink.h"

class QProgressBar;
class StatusBar;

// Pane 0 of a module form's status bar as the engines' status sink, with the progress bar of a
// running split or join. While an operation runs, every text and every progress step lets the
// window repaint; user input waits until the operation ends.
class FormStatus : public StatusSink {
public:
    explicit FormStatus(StatusBar* bar = nullptr);

    void attach(StatusBar* bar);
    StatusBar* bar() const { return bar_; }
    QProgressBar* progressBar() const { return progress_; }

    void setStatus(const std::string& text) override;
    std::string text() const;

    // Brackets one split or join: shows the progress bar, then hides it again.
    void begin();
    void progress(const Progress& step);
    void end();
    bool running() const { return running_; }

private:
    void repaint();

    StatusBar* bar_ = nullptr;
    QProgressBar* progress_ = nullptr;
    bool running_ = false;
};
