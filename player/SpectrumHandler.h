#pragma once

#include "platform/xaudio/FftAnalyzer.h"
#include "player/BarGraph.h"
#include "player/Handler.h"

#include <array>

// 64 spectrum bars (4 pixels wide, 1 apart, up to 64 high) from the component's FFT analyser.
class SpectrumHandler : public Handler {
public:
    // Throws HandlerException when the analyser cannot be created.
    SpectrumHandler(FeedbackSurfaceSink* window, int width, int height);
    ~SpectrumHandler() override;
    void handleEvent(const XA_FeedbackEvent& event) override;
    const BarGraph& bars() const { return bars_; }

private:
    BarGraph bars_;
    FftAnalyzer* analyzer_ = nullptr;
    std::array<std::uint8_t, 64> spectrum_{};
};
