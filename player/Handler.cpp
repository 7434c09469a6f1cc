#include "player/Handler.h"

#include <algorithm>

Handler::Handler(FeedbackSurfaceSink* window, int width, int height) : window_(window), surface_(window, width, height) {}

ChannelPeaks ChannelPeaks::of(const XA_FeedbackEvent& event) {
    const int count = event.samplesPerChannel;
    auto largest = [&](int first, int n) {
        int peak = 0;
        for (int i = first; i < first + n; ++i) peak = std::max(peak, static_cast<int>(event.samples[i]));
        return peak;
    };
    ChannelPeaks peaks;
    if (!event.samples || count == 0) return peaks;
    if (event.channels == 2) {
        peaks.left = largest(0, count);
        peaks.right = largest(count, count);
    } else {
        peaks.left = peaks.right = largest(0, count * std::max<int>(event.channels, 1));
    }
    return peaks;
}
