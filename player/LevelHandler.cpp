#include "player/LevelHandler.h"

#include "player/Handler.h"

std::uint32_t LevelHandler::colourFor(int level) {
    if (level < 100) return Green;
    return level <= 120 ? Yellow : Red;
}

void LevelHandler::show(LevelMeterSink* meter, int level) {
    if (!meter) return;
    meter->setBarColour(colourFor(level));
    meter->setLevel(level);
}

void LevelHandler::handleEvent(const XA_FeedbackEvent& event) {
    const ChannelPeaks peaks = ChannelPeaks::of(event);
    show(left_, peaks.left);
    show(right_, peaks.right);
}
