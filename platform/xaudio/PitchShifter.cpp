#include "platform/xaudio/PitchShifter.h"

#include <syn123.h>

#include <algorithm>
#include <cmath>

PitchShifter::~PitchShifter() {
    if (handle_) syn123_del(handle_);
}

bool PitchShifter::configure(long rate, int channels) {
    if (handle_ && rate == rate_ && channels == channels_ && pitch_ == configuredPitch_) return true;
    if (!handle_ || channels != channels_) {
        if (handle_) syn123_del(handle_);
        handle_ = syn123_new(rate, channels, MPG123_ENC_FLOAT_32, 0, nullptr);
        if (!handle_) return false;
    }
    // The input is taken as if recorded at rate * pitch / 1000 and played at the stream's rate.
    if (syn123_setup_resample(handle_, rate * pitch_, rate * 1000, channels, 0, 1) != SYN123_OK) return false;
    rate_ = rate;
    channels_ = channels;
    configuredPitch_ = pitch_;
    return true;
}

std::vector<std::int16_t>& PitchShifter::process(const std::int16_t* samples, std::size_t frames, long rate,
                                                 int channels) {
    result_.clear();
    if (frames == 0 || !configure(rate, channels)) return result_;
    in_.resize(frames * channels);
    for (std::size_t i = 0; i < in_.size(); ++i) in_[i] = samples[i] / 32768.0f;
    const std::size_t capacity = syn123_resample_count(rate * pitch_, rate * 1000, frames);
    out_.resize(capacity * channels);
    const std::size_t produced = syn123_resample(handle_, out_.data(), in_.data(), frames);
    result_.resize(produced * channels);
    for (std::size_t i = 0; i < result_.size(); ++i)
        result_[i] = static_cast<std::int16_t>(std::clamp(std::lrint(out_[i] * 32768.0f), -32768L, 32767L));
    return result_;
}
