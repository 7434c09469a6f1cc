#pragma once

#include "platform/xaudio/XA_Feedback.h"
#include "player/DrawingSurface.h"

// A feedback handler: the instance the playback component holds, drawing into its own surface
// of the visualisation window's size.
class Handler : public XA_FeedbackHandlerInstance {
public:
    Handler(FeedbackSurfaceSink* window, int width, int height);
    virtual void handleEvent(const XA_FeedbackEvent& event) = 0;

    const DrawingSurface& surface() const { return surface_; }

protected:
    FeedbackSurfaceSink* window_;
    DrawingSurface surface_;
};

// The largest left and right samples of an event (negative maxima count as 0); with other than
// two channels both are the largest sample of all.
struct ChannelPeaks {
    int left = 0;
    int right = 0;
    static ChannelPeaks of(const XA_FeedbackEvent& event);
};
