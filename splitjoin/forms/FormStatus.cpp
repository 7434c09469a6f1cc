#include "splitjoin/forms/FormStatus.h"

#include "framework/StatusBar.h"

#include <QCoreApplication>
#include <QProgressBar>

namespace {
constexpr int kProgressSteps = 1000;
}

FormStatus::FormStatus(StatusBar* bar) { attach(bar); }

void FormStatus::attach(StatusBar* bar) {
    bar_ = bar;
    if (!bar_) return;
    progress_ = new QProgressBar(bar_);
    progress_->setRange(0, kProgressSteps);
    progress_->setMaximumWidth(160);
    progress_->setTextVisible(false);
    progress_->hide();
    bar_->addPermanentWidget(progress_);
}

void FormStatus::setStatus(const std::string& text) {
    if (bar_) bar_->setPaneText(0, QString::fromStdString(text));
    if (running_) repaint();
}

std::string FormStatus::text() const { return bar_ ? bar_->paneText(0).toStdString() : std::string(); }

void FormStatus::begin() {
    running_ = true;
    if (!progress_) return;
    progress_->setValue(0);
    progress_->show();
}

void FormStatus::progress(const Progress& step) {
    if (progress_ && step.bytesTotal > 0) {
        // 64-bit bytes scaled to the bar's steps, so files past 2 GiB show right.
        const auto done = static_cast<long double>(step.bytesDone) / static_cast<long double>(step.bytesTotal);
        progress_->setValue(static_cast<int>(done * kProgressSteps));
    }
    repaint();
}

void FormStatus::end() {
    running_ = false;
    if (progress_) progress_->hide();
}

// Repaints and lets timers run, but keeps mouse and keys waiting until the operation ends.
void FormStatus::repaint() { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }
