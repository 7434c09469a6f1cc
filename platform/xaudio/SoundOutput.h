#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct out123_struct;

// libout123 behind the player: a sound device or a WAV file, opened by the component's output
// names ("/dev/wave/%d", "/dev/dsound/%d", "wav:" and a path), started with the stream's format.
class SoundOutput {
public:
    SoundOutput();
    ~SoundOutput();
    SoundOutput(const SoundOutput&) = delete;
    SoundOutput& operator=(const SoundOutput&) = delete;

    // 0 or an XA::Error code.
    int open(const std::string& name);
    // Finishes a WAV file and releases the device.
    void close();
    bool isOpen() const { return open_; }
    bool isLive() const { return live_; }

    // Starts (again) when the format differs from the running one.
    bool start(long rate, int channels);
    bool play(std::uint8_t* data, std::size_t bytes);
    // Drops what the device still holds, so that a stop or seek is heard at once.
    void drop();
    // Waits until the device has played what it holds; false when a file could not take the
    // samples still held for it.
    bool drain();
    void pause();
    // The seconds of sound a live device may hold; taken at the next open.
    void setBufferTime(double seconds) { bufferSeconds_ = seconds; }

private:
    int openDriver(const std::string& driver, const std::string& device);
    // Hands the samples held for a file on to it; false when it could not take them all.
    bool flushPending();

    out123_struct* handle_ = nullptr;
    bool open_ = false;
    bool live_ = false;
    bool started_ = false;
    long rate_ = 0;
    int channels_ = 0;
    double bufferSeconds_ = 0.1;
    // A file's samples, gathered into large writes: one frame's samples a write would cost a
    // system call each. A device gets each frame at once, as it is heard.
    std::vector<std::uint8_t> pending_;
};
