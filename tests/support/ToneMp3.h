#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Test sounds: a stereo sine (its own frequency per channel) written as a 16-bit WAV file and
// encoded by `lame` into an MP3, all in a folder of the test's.
struct ToneSpec {
    double seconds = 1.0;
    double leftHz = 440.0;
    double rightHz = 880.0;
    double amplitude = 0.5; // of full scale
    long rate = 44100;
    int kbits = 128;
};

class ToneMp3 {
public:
    // Writes folder/name.wav and folder/name.mp3; returns the MP3's path. Throws when lame fails.
    static std::string make(const std::string& folder, const std::string& name, const ToneSpec& spec = {});
    static void writeWav(const std::string& path, const std::vector<std::int16_t>& interleaved, long rate, int channels);
};

// A 16-bit PCM WAV file as libout123 writes it.
struct WavData {
    long rate = 0;
    int channels = 0;
    std::vector<std::int16_t> samples; // interleaved

    static WavData read(const std::string& path);
    std::size_t frames() const { return channels ? samples.size() / channels : 0; }
    double rms(int channel, std::size_t first = 0, std::size_t count = SIZE_MAX) const;
    int peak(int channel) const;
};

// libmpg123's own decoding of a file with its defaults, as the reference.
std::vector<std::int16_t> referenceDecode(const std::string& path, long* rate = nullptr, int* channels = nullptr);
