#include "support/ToneMp3.h"

#include "support/FileBytes.h"

#include <mpg123.h>

#include <cmath>
#include <cstring>
#include <numbers>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace {

void putLe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

std::uint32_t getLe(const std::vector<std::uint8_t>& in, std::size_t at, int bytes) {
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) value |= std::uint32_t(in.at(at + i)) << (8 * i);
    return value;
}

void runLame(const std::string& wav, const std::string& mp3, int kbits) {
    const std::string rate = std::to_string(kbits);
    const pid_t child = fork();
    if (child == 0) {
        execlp("lame", "lame", "--quiet", "-b", rate.c_str(), "--cbr", wav.c_str(), mp3.c_str(), nullptr);
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) throw std::runtime_error("lame failed on " + wav);
}

} // namespace

void ToneMp3::writeWav(const std::string& path, const std::vector<std::int16_t>& interleaved, long rate, int channels) {
    std::vector<std::uint8_t> out;
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(interleaved.size() * 2);
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    putLe(out, 36 + dataBytes, 4);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    putLe(out, 16, 4);
    putLe(out, 1, 2);
    putLe(out, channels, 2);
    putLe(out, rate, 4);
    putLe(out, rate * channels * 2, 4);
    putLe(out, channels * 2, 2);
    putLe(out, 16, 2);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    putLe(out, dataBytes, 4);
    for (const std::int16_t sample : interleaved) putLe(out, static_cast<std::uint16_t>(sample), 2);
    FileBytes::write(path, out);
}

std::string ToneMp3::make(const std::string& folder, const std::string& name, const ToneSpec& spec) {
    const std::size_t frames = static_cast<std::size_t>(spec.seconds * spec.rate);
    std::vector<std::int16_t> samples(frames * 2);
    for (std::size_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / spec.rate;
        samples[2 * i] = static_cast<std::int16_t>(std::lrint(32767 * spec.amplitude * std::sin(2 * std::numbers::pi * spec.leftHz * t)));
        samples[2 * i + 1] = static_cast<std::int16_t>(std::lrint(32767 * spec.amplitude * std::sin(2 * std::numbers::pi * spec.rightHz * t)));
    }
    const std::string wav = folder + "/" + name + ".wav";
    const std::string mp3 = folder + "/" + name + ".mp3";
    writeWav(wav, samples, spec.rate, 2);
    runLame(wav, mp3, spec.kbits);
    return mp3;
}

WavData WavData::read(const std::string& path) {
    const std::vector<std::uint8_t> bytes = FileBytes::read(path);
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 || std::memcmp(bytes.data() + 8, "WAVE", 4) != 0)
        throw std::runtime_error(path + " is no WAV file");
    WavData wav;
    std::size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const std::string id(reinterpret_cast<const char*>(bytes.data() + at), 4);
        std::size_t size = getLe(bytes, at + 4, 4);
        if (id == "fmt ") {
            wav.channels = static_cast<int>(getLe(bytes, at + 10, 2));
            wav.rate = static_cast<long>(getLe(bytes, at + 12, 4));
        } else if (id == "data") {
            size = std::min(size, bytes.size() - at - 8);
            for (std::size_t i = 0; i + 1 < size; i += 2)
                wav.samples.push_back(static_cast<std::int16_t>(getLe(bytes, at + 8 + i, 2)));
            break;
        }
        at += 8 + size + (size & 1);
    }
    return wav;
}

double WavData::rms(int channel, std::size_t first, std::size_t count) const {
    double sum = 0;
    std::size_t n = 0;
    for (std::size_t i = first; i < frames() && n < count; ++i, ++n) {
        const double s = samples[i * channels + channel];
        sum += s * s;
    }
    return n ? std::sqrt(sum / n) : 0.0;
}

int WavData::peak(int channel) const {
    int peak = 0;
    for (std::size_t i = 0; i < frames(); ++i) peak = std::max(peak, std::abs(int(samples[i * channels + channel])));
    return peak;
}

std::vector<std::int16_t> referenceDecode(const std::string& path, long* rate, int* channels) {
    mpg123_handle* handle = mpg123_new(nullptr, nullptr);
    std::vector<std::int16_t> samples;
    if (!handle || mpg123_open(handle, path.c_str()) != MPG123_OK) throw std::runtime_error("cannot decode " + path);
    unsigned char buffer[16384];
    std::size_t done = 0;
    int result = MPG123_OK;
    while ((result = mpg123_read(handle, buffer, sizeof buffer, &done)) == MPG123_OK || result == MPG123_NEW_FORMAT ||
           (result == MPG123_DONE && done > 0)) {
        const auto* s = reinterpret_cast<const std::int16_t*>(buffer);
        samples.insert(samples.end(), s, s + done / 2);
        if (result == MPG123_DONE) break;
    }
    long r = 0;
    int c = 0, e = 0;
    mpg123_getformat(handle, &r, &c, &e);
    if (rate) *rate = r;
    if (channels) *channels = c;
    mpg123_close(handle);
    mpg123_delete(handle);
    return samples;
}
