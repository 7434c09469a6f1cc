#include "player/DrawingSurface.h"

#include <algorithm>

DrawingSurface::DrawingSurface(FeedbackSurfaceSink* window, int width, int height)
    : window_(window), width_(std::max(width, 0)), height_(std::max(height, 0)),
      pixels_(static_cast<std::size_t>(width_) * height_, 0) {}

std::uint32_t DrawingSurface::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    return pixels_[static_cast<std::size_t>(y) * width_ + x];
}

void DrawingSurface::clear() {
    std::fill(pixels_.begin(), pixels_.end(), 0);
}

void DrawingSurface::fillRect(int x, int y, int w, int h, std::uint32_t colour) {
    if (x < 0 || y < 0 || w <= 0 || h <= 0 || x + w >= width_ || y + h >= height_) return;
    for (int row = y; row < y + h; ++row)
        std::fill_n(pixels_.begin() + static_cast<std::ptrdiff_t>(row) * width_ + x, w, colour);
}

void DrawingSurface::setPixel(int x, int y, std::uint32_t colour) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    pixels_[static_cast<std::size_t>(y) * width_ + x] = colour;
}

void DrawingSurface::present() {
    if (window_) window_->present(width_, height_, pixels_);
}
