#include "player/BarGraph.h"

#include <algorithm>

BarGraph::BarGraph(DrawingSurface& surface, int bars, int barWidth, int gap, int maximum)
    : surface_(surface), barWidth_(barWidth), gap_(gap), bars_(bars) {
    for (Bar& bar : bars_) {
        bar.width = barWidth;
        bar.maximum = maximum;
    }
}

void BarGraph::update(int index, int input) {
    Bar& bar = bars_.at(index);
    bar.value = (std::min(input, bar.maximum) + bar.value) / 2;
    if (bar.value >= bar.peak) {
        bar.peak = bar.value;
        bar.counter = 0;
    } else if (bar.peak <= bar.counter) {
        bar.peak = 0;
    } else {
        bar.peak -= bar.counter / 4;
        ++bar.counter;
    }
}

void BarGraph::draw() {
    surface_.clear();
    for (std::size_t i = 0; i < bars_.size(); ++i) {
        const Bar& bar = bars_[i];
        const int x = static_cast<int>(i) * (barWidth_ + gap_);
        surface_.fillRect(x, 0, bar.width, bar.value, BarColour);
        surface_.fillRect(x, bar.peak, bar.width, bar.peakHeight, PeakColour);
    }
    surface_.present();
}
