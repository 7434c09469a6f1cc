#include "platform/xaudio/SoundOutput.h"

#include "platform/xaudio/OutputDevices.h"
#include "platform/xaudio/XaudioPlayback.h"

#include <out123.h>

#include <charconv>
#include <vector>

namespace {

// Samples gathered for a file before they are written.
constexpr std::size_t kFileBlock = std::size_t(256) << 10;

// "/dev/wave/3" -> 3; -1 when the text is no device name with an index.
int deviceIndex(const std::string& name) {
    for (const char* prefix : {"/dev/wave/", "/dev/dsound/"}) {
        const std::string p = prefix;
        if (name.compare(0, p.size(), p) != 0) continue;
        int index = -1;
        const char* first = name.data() + p.size();
        const char* last = name.data() + name.size();
        const auto [end, error] = std::from_chars(first, last, index);
        return (error == std::errc() && end == last && first != last && index >= 0) ? index : -1;
    }
    return -1;
}

} // namespace

SoundOutput::SoundOutput() = default;

SoundOutput::~SoundOutput() {
    close();
}

int SoundOutput::open(const std::string& name) {
    close();
    if (name.compare(0, 4, "wav:") == 0) {
        const std::string path = name.substr(4);
        if (path.empty()) return XA::InvalidParameters;
        return openDriver("wav", path);
    }
    const int index = deviceIndex(name);
    if (index < 0) return XA::InvalidParameters;
    const std::vector<OutputDevice> devices = OutputDevices::list();
    if (static_cast<std::size_t>(index) >= devices.size()) return XA::NoSuchDevice;
    const int result = openDriver(devices[index].driver, devices[index].device);
    live_ = result == 0;
    return result;
}

int SoundOutput::openDriver(const std::string& driver, const std::string& device) {
    handle_ = out123_new();
    if (!handle_) return XA::OutOfMemory;
    out123_param_int(handle_, OUT123_ADD_FLAGS, OUT123_QUIET);
    out123_param_float(handle_, OUT123_DEVICEBUFFER, bufferSeconds_);
    if (out123_open(handle_, driver.empty() ? nullptr : driver.c_str(), device.empty() ? nullptr : device.c_str()) != 0) {
        out123_del(handle_);
        handle_ = nullptr;
        return XA::OutputOpenFailed;
    }
    open_ = true;
    return 0;
}

void SoundOutput::close() {
    flushPending();
    if (handle_) out123_del(handle_); // stops (writing a WAV file's header) and closes
    handle_ = nullptr;
    open_ = live_ = started_ = false;
    rate_ = 0;
    channels_ = 0;
}

bool SoundOutput::start(long rate, int channels) {
    if (!open_) return false;
    if (started_ && rate == rate_ && channels == channels_) return true;
    flushPending();
    if (started_) out123_stop(handle_);
    started_ = out123_start(handle_, rate, channels, MPG123_ENC_SIGNED_16) == 0;
    rate_ = rate;
    channels_ = channels;
    return started_;
}

bool SoundOutput::play(std::uint8_t* data, std::size_t bytes) {
    if (!started_) return false;
    if (live_) return out123_play(handle_, data, bytes) == bytes;
    pending_.insert(pending_.end(), data, data + bytes);
    return pending_.size() < kFileBlock || flushPending();
}

bool SoundOutput::flushPending() {
    if (pending_.empty()) return true;
    const bool written = started_ && out123_play(handle_, pending_.data(), pending_.size()) == pending_.size();
    pending_.clear();
    return written;
}

// A file keeps every sample it was given: only a device drops what it holds.
void SoundOutput::drop() {
    flushPending();
    if (started_) out123_drop(handle_);
}

bool SoundOutput::drain() {
    const bool written = flushPending();
    if (started_ && live_) out123_drain(handle_);
    return written;
}

void SoundOutput::pause() {
    if (started_ && live_) out123_pause(handle_);
}
