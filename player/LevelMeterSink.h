#pragma once

#include <cstdint>

// One of the Player's two level meters ("L", "R", range 0-130). Called on the playback
// component's decoding thread; the meter shows the values on the GUI thread.
class LevelMeterSink {
public:
    virtual ~LevelMeterSink() = default;
    virtual void setBarColour(std::uint32_t colour) = 0; // 0x00RRGGBB on a white background
    virtual void setLevel(int level) = 0;
};
