#include "player/forms/LevelMeter.h"

#include <QPalette>

#include <algorithm>

LevelMeter::LevelMeter(QWidget* parent) : QProgressBar(parent) {
    setRange(0, Maximum);
    setValue(0);
    setTextVisible(false);
    setOrientation(Qt::Horizontal);
    showLevel();
}

void LevelMeter::setBarColour(std::uint32_t colour) {
    colour_ = colour & 0xFFFFFF;
}

void LevelMeter::setLevel(int level) {
    level_ = level;
    // One queued update at a time: the handler feeds far more often than the screen shows.
    if (!showPending_.exchange(true)) QMetaObject::invokeMethod(this, [this] { showLevel(); }, Qt::QueuedConnection);
}

void LevelMeter::showLevel() {
    showPending_ = false;
    QPalette colours = palette();
    colours.setColor(QPalette::Highlight, QColor::fromRgb(colour_.load()));
    colours.setColor(QPalette::Base, Qt::white);
    colours.setColor(QPalette::Window, Qt::white);
    setPalette(colours);
    setValue(std::clamp(level_.load(), 0, Maximum));
}
