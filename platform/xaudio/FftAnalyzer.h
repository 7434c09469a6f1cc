#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

struct fftw_plan_s;

// The spectrum of a block of signed 8-bit samples: 128 samples under a Hann window give 64
// bytes, one per frequency band from 0 to half the sample rate, 2 per dB above -64 dB of full
// scale (a full-scale sine reaches 128), capped at 255.
class FftAnalyzer {
public:
    static constexpr std::size_t BlockSize = 128;
    static constexpr std::size_t Bands = 64;

    FftAnalyzer();
    ~FftAnalyzer();
    FftAnalyzer(const FftAnalyzer&) = delete;
    FftAnalyzer& operator=(const FftAnalyzer&) = delete;

    bool valid() const { return plan_ != nullptr; }
    // Fewer than 128 samples are padded with silence; more are cut.
    void setSamples(const std::int8_t* samples, std::size_t count);
    void spectrum(std::uint8_t* bytes, std::size_t count);

private:
    std::array<double, BlockSize> input_{};
    double (*output_)[2] = nullptr;
    fftw_plan_s* plan_ = nullptr;
};

// The component's C-style entry points around FftAnalyzer; 0 on success.
int fft_analyzer_new(FftAnalyzer** analyzer);
int fft_analyzer_set_samples(FftAnalyzer* analyzer, const std::int8_t* samples, std::size_t count);
int fft_analyzer_get_spectrum(FftAnalyzer* analyzer, std::uint8_t* bytes, std::size_t count);
void fft_analyzer_delete(FftAnalyzer* analyzer);
