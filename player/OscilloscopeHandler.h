#pragma once

#include "player/Handler.h"

#include <vector>

// A white trace of the first channel's samples, one point per column; each event erases the
// column's previous point instead of clearing the picture.
class OscilloscopeHandler : public Handler {
public:
    OscilloscopeHandler(FeedbackSurfaceSink* window, int width, int height);
    void handleEvent(const XA_FeedbackEvent& event) override;

    static constexpr int NoPoint = -1;

private:
    int width_;
    int height_;
    std::vector<int> rows_; // the point drawn in each column, NoPoint before the first
};
