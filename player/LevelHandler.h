#pragma once

#include "platform/xaudio/XA_Feedback.h"
#include "player/LevelMeterSink.h"

// The Player's two level meters, fed after every event: the left and right peaks as the meters'
// positions, the bar green below 100, yellow to 120, red above.
class LevelHandler {
public:
    LevelHandler(LevelMeterSink* left, LevelMeterSink* right) : left_(left), right_(right) {}
    void handleEvent(const XA_FeedbackEvent& event);

    static constexpr std::uint32_t Green = 0x00FF00;
    static constexpr std::uint32_t Yellow = 0xFFFF00;
    static constexpr std::uint32_t Red = 0xFF0000;
    static std::uint32_t colourFor(int level);

private:
    static void show(LevelMeterSink* meter, int level);

    LevelMeterSink* left_;
    LevelMeterSink* right_;
};
