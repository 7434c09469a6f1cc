#include "platform/xaudio/FftAnalyzer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

TEST(FftAnalyzerTest, ASineLightsItsOwnBand) {
    FftAnalyzer* analyzer = nullptr;
    ASSERT_EQ(fft_analyzer_new(&analyzer), 0);
    std::int8_t samples[128];
    for (int i = 0; i < 128; ++i) samples[i] = static_cast<std::int8_t>(std::lrint(127 * std::sin(2 * std::numbers::pi * 16 * i / 128.0)));
    std::uint8_t spectrum[64] = {};
    ASSERT_EQ(fft_analyzer_set_samples(analyzer, samples, 128), 0);
    ASSERT_EQ(fft_analyzer_get_spectrum(analyzer, spectrum, 64), 0);
    EXPECT_NEAR(spectrum[16], 128, 4); // full scale
    for (int band : {0, 5, 30, 63}) EXPECT_LT(spectrum[band], 40) << band;

    std::int8_t silence[10] = {};
    fft_analyzer_set_samples(analyzer, silence, 10);
    fft_analyzer_get_spectrum(analyzer, spectrum, 64);
    for (std::uint8_t b : spectrum) EXPECT_EQ(b, 0);
    EXPECT_NE(fft_analyzer_set_samples(analyzer, nullptr, 5), 0);
    fft_analyzer_delete(analyzer);
}
