#include "player/OscilloscopeHandler.h"

#include <algorithm>

namespace {
// The trace keeps to the first 256 columns and 80 rows, the window's usual size.
constexpr int TraceColumns = 256;
constexpr int TraceRows = 80;
} // namespace

OscilloscopeHandler::OscilloscopeHandler(FeedbackSurfaceSink* window, int width, int height)
    : Handler(window, width, height), width_(width), height_(height), rows_(std::max(width, 0), NoPoint) {}

void OscilloscopeHandler::handleEvent(const XA_FeedbackEvent& event) {
    const int columns = std::min<int>(event.samplesPerChannel, width_);
    for (int i = 0; i < columns && event.samples; ++i) {
        const int row = event.samples[i] * height_ / 256 + height_ / 2;
        const bool inTrace = i < TraceColumns;
        if (inTrace && rows_[i] != NoPoint && rows_[i] < TraceRows) surface_.setPixel(i, rows_[i], 0);
        rows_[i] = row;
        if (inTrace && row >= 0 && row < TraceRows) surface_.setPixel(i, row, 0xFFFFFF);
    }
    surface_.present();
}
