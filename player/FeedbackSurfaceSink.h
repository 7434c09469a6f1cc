#pragma once

#include <cstdint>
#include <vector>

// Where a feedback handler presents its finished picture: the visualisation widget, which paints
// it on the GUI thread. Called on the playback component's decoding thread.
class FeedbackSurfaceSink {
public:
    virtual ~FeedbackSurfaceSink() = default;
    // width x height pixels 0x00RRGGBB, bottom row first.
    virtual void present(int width, int height, const std::vector<std::uint32_t>& pixels) = 0;
};
