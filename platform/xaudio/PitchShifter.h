#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct syn123_struct;

// Turntable pitch: pitch 1100 plays 10 % faster and higher, 900 slower and lower, while the
// output keeps the stream's rate. libsyn123 resamples; 1000 passes the samples through untouched.
class PitchShifter {
public:
    PitchShifter() = default;
    ~PitchShifter();
    PitchShifter(const PitchShifter&) = delete;
    PitchShifter& operator=(const PitchShifter&) = delete;

    void setPitch(int pitch) { pitch_ = pitch; }
    int pitch() const { return pitch_; }
    bool active() const { return pitch_ != 1000; }
    // Resamples interleaved samples; the result stays valid until the next call.
    std::vector<std::int16_t>& process(const std::int16_t* samples, std::size_t frames, long rate, int channels);

private:
    bool configure(long rate, int channels);

    int pitch_ = 1000;
    syn123_struct* handle_ = nullptr;
    long rate_ = 0;
    int channels_ = 0;
    int configuredPitch_ = 0;
    std::vector<float> in_;
    std::vector<float> out_;
    std::vector<std::int16_t> result_;
};
