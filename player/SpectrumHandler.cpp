#include "player/SpectrumHandler.h"

#include "player/HandlerException.h"

#include <algorithm>

SpectrumHandler::SpectrumHandler(FeedbackSurfaceSink* window, int width, int height)
    : Handler(window, width, height), bars_(surface_, 64, 4, 1, 64) {
    if (fft_analyzer_new(&analyzer_) != 0) throw HandlerException();
}

SpectrumHandler::~SpectrumHandler() {
    fft_analyzer_delete(analyzer_);
}

void SpectrumHandler::handleEvent(const XA_FeedbackEvent& event) {
    fft_analyzer_set_samples(analyzer_, event.samples, std::min<std::size_t>(event.samplesPerChannel, 128));
    fft_analyzer_get_spectrum(analyzer_, spectrum_.data(), spectrum_.size());
    // Band 0 (the steady part) is not shown; the last bar is never fed.
    for (int bar = 0; bar < 63; ++bar) bars_.update(bar, spectrum_[bar + 1] / 2);
    bars_.draw();
}
