#pragma once

#include "player/LevelMeterSink.h"

#include <QProgressBar>

#include <atomic>

// One of the Player's level meters ("L" 1015, "R" 1018): a progress bar of range 0-130 on a
// white background whose bar colour the level handler chooses. The handler calls it on the
// decoding thread; the values are shown on the GUI thread.
class LevelMeter : public QProgressBar, public LevelMeterSink {
    Q_OBJECT
public:
    static constexpr int Maximum = 130;

    explicit LevelMeter(QWidget* parent = nullptr);

    void setBarColour(std::uint32_t colour) override;
    void setLevel(int level) override;
    std::uint32_t barColour() const { return colour_; }

private:
    void showLevel();

    std::atomic<std::uint32_t> colour_{0x00FF00};
    std::atomic<int> level_{0};
    std::atomic<bool> showPending_{false};
};
