#pragma once

#include "player/DrawingSurface.h"

#include <vector>

// Bars with falling peak markers, drawn from the bottom of a surface.
class BarGraph {
public:
    struct Bar {
        int width = 0;
        int value = 0;
        int maximum = 0;
        int counter = 0; // how long the peak has been falling
        int peak = 0;
        int peakHeight = 3;
    };

    static constexpr std::uint32_t BarColour = 0x8080FF;
    static constexpr std::uint32_t PeakColour = 0xFF8080;

    BarGraph(DrawingSurface& surface, int bars, int barWidth, int gap, int maximum);

    // The value moves half way to the input (capped at the maximum); a peak falls ever faster.
    void update(int bar, int input);
    // Clears the surface, draws every bar and its peak marker, presents.
    void draw();
    const Bar& bar(int i) const { return bars_.at(i); }

private:
    DrawingSurface& surface_;
    int barWidth_;
    int gap_;
    std::vector<Bar> bars_;
};
