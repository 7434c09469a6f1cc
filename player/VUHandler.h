#pragma once

#include "player/BarGraph.h"
#include "player/Handler.h"

// Two VU bars (32 pixels wide, 4 apart, up to 64 high): the left and right peaks.
class VUHandler : public Handler {
public:
    VUHandler(FeedbackSurfaceSink* window, int width, int height);
    void handleEvent(const XA_FeedbackEvent& event) override;
    const BarGraph& bars() const { return bars_; }

private:
    BarGraph bars_;
};
