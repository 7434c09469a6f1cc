#include "player/VUHandler.h"

VUHandler::VUHandler(FeedbackSurfaceSink* window, int width, int height)
    : Handler(window, width, height), bars_(surface_, 2, 32, 4, 64) {}

void VUHandler::handleEvent(const XA_FeedbackEvent& event) {
    const ChannelPeaks peaks = ChannelPeaks::of(event);
    bars_.update(0, peaks.left);
    bars_.update(1, peaks.right);
    bars_.draw();
}
