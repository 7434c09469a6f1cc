#pragma once

#include "player/FeedbackSurfaceSink.h"

#include <cstdint>
#include <vector>

// A feedback handler's picture: width x height 32-bit pixels (0x00RRGGBB), row 0 at the bottom,
// presented whole to the visualisation window.
class DrawingSurface {
public:
    DrawingSurface(FeedbackSurfaceSink* window, int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    const std::vector<std::uint32_t>& pixels() const { return pixels_; }
    std::uint32_t pixel(int x, int y) const;

    void clear();
    // Skipped whole unless x + w < width and y + h < height.
    void fillRect(int x, int y, int w, int h, std::uint32_t colour);
    // Outside the surface: nothing.
    void setPixel(int x, int y, std::uint32_t colour);
    void present();

private:
    FeedbackSurfaceSink* window_;
    int width_;
    int height_;
    std::vector<std::uint32_t> pixels_;
};
