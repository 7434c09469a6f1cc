#include "platform/xaudio/FftAnalyzer.h"

#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <mutex>
#include <new>
#include <numbers>

namespace {

// FFTW's planner is not thread-safe; only executing a plan is.
std::mutex& plannerMutex() {
    static std::mutex mutex;
    return mutex;
}

double hann(std::size_t i) {
    return 0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * i / (FftAnalyzer::BlockSize - 1));
}

} // namespace

FftAnalyzer::FftAnalyzer() {
    std::lock_guard lock(plannerMutex());
    output_ = static_cast<double(*)[2]>(fftw_malloc(sizeof(fftw_complex) * (BlockSize / 2 + 1)));
    if (!output_) return;
    plan_ = fftw_plan_dft_r2c_1d(BlockSize, input_.data(), output_, FFTW_ESTIMATE | FFTW_UNALIGNED);
}

FftAnalyzer::~FftAnalyzer() {
    std::lock_guard lock(plannerMutex());
    if (plan_) fftw_destroy_plan(plan_);
    fftw_free(output_);
}

void FftAnalyzer::setSamples(const std::int8_t* samples, std::size_t count) {
    count = std::min(count, BlockSize);
    for (std::size_t i = 0; i < BlockSize; ++i) input_[i] = i < count ? samples[i] * hann(i) : 0.0;
}

void FftAnalyzer::spectrum(std::uint8_t* bytes, std::size_t count) {
    if (!plan_) return;
    fftw_execute(plan_);
    // A full-scale sine (amplitude 127) in one band: 128/2 x 127 x 0.5 (the window's gain).
    constexpr double fullScale = BlockSize / 2 * 127.0 * 0.5;
    for (std::size_t band = 0; band < std::min(count, Bands); ++band) {
        const double magnitude = std::hypot(output_[band][0], output_[band][1]);
        const double db = magnitude > 0 ? 20.0 * std::log10(magnitude / fullScale) : -200.0;
        bytes[band] = static_cast<std::uint8_t>(std::clamp(2.0 * (db + 64.0), 0.0, 255.0));
    }
}

int fft_analyzer_new(FftAnalyzer** analyzer) {
    if (!analyzer) return -1;
    *analyzer = new (std::nothrow) FftAnalyzer;
    if (*analyzer && !(*analyzer)->valid()) {
        delete *analyzer;
        *analyzer = nullptr;
    }
    return *analyzer ? 0 : -1;
}

int fft_analyzer_set_samples(FftAnalyzer* analyzer, const std::int8_t* samples, std::size_t count) {
    if (!analyzer || (!samples && count > 0)) return -1;
    analyzer->setSamples(samples, count);
    return 0;
}

int fft_analyzer_get_spectrum(FftAnalyzer* analyzer, std::uint8_t* bytes, std::size_t count) {
    if (!analyzer || !bytes) return -1;
    analyzer->spectrum(bytes, count);
    return 0;
}

void fft_analyzer_delete(FftAnalyzer* analyzer) {
    delete analyzer;
}
