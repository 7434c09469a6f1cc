#pragma once

#include <QSignalBlocker>
#include <QSlider>

// Shows a position that the playback component reported, without sending it back as a move of
// the user's; the user's hand on the knob wins.
inline void showReportedPosition(QSlider* slider, int value) {
    if (slider->isSliderDown()) return;
    const QSignalBlocker quiet(slider);
    slider->setValue(value);
}
