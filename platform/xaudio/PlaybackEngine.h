#pragma once

#include "platform/xaudio/FeedbackHost.h"
#include "platform/xaudio/HttpStream.h"
#include "platform/xaudio/Mp3Decoder.h"
#include "platform/xaudio/PitchShifter.h"
#include "platform/xaudio/SoundOutput.h"
#include "platform/xaudio/XA_Command.h"
#include "platform/xaudio/XA_Message.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// One player of the component: a queue of commands and the decoding thread that carries them out,
// decodes, writes to the output and posts notifications. Everything below the queue belongs to
// that thread alone.
class PlaybackEngine {
public:
    explicit PlaybackEngine(XA_NotificationSink* sink);
    ~PlaybackEngine();
    PlaybackEngine(const PlaybackEngine&) = delete;
    PlaybackEngine& operator=(const PlaybackEngine&) = delete;

    void send(XA_Command command);

private:
    void run();
    bool waitForWork(std::deque<XA_Command>& commands);
    bool wantsToDecode() const;
    void wake();

    void execute(const XA_Command& command);
    void play();
    void pause();
    void stop();
    void seek(const XA_Command& command);
    void openInput(const XA_Command& command);
    void closeInput();
    void openOutput(const XA_Command& command);
    void setOutputProperty(const XA_Command& command);
    void setLevels(const XA_Command& command);
    void setEqualizer(const XA_Command& command);
    void feedbackCommand(const XA_Command& command);

    void decodeStep();
    void pullStream();
    void onNewFormat();
    bool startOutput();
    void onAudio(std::uint8_t* data, std::size_t bytes);
    void endOfStream();
    void endOfInput();
    void failInput(int error, const std::string& reason = {});
    void applyGain(std::int16_t* samples, std::size_t count, int channels) const;
    void reportProgress();

    void notify(const XA_Message& message);
    void notifyState(unsigned char state);
    void notifyFailed(int command, int error, const std::string& reason = {});
    void notifyLevels();
    void notifyInputState(bool open);

    XA_NotificationSink* sink_;

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<XA_Command> queue_;
    bool quit_ = false;

    // Decoding thread only.
    Mp3Decoder decoder_;
    SoundOutput output_;
    PitchShifter pitch_;
    FeedbackHost feedback_;
    std::unique_ptr<HttpStream> stream_;
    std::vector<std::uint8_t> streamBytes_;
    std::vector<std::int16_t> samples_;
    std::string location_;
    unsigned char state_ = 0;
    bool needStreamData_ = false;
    bool connectedReported_ = false;
    bool streamInfoReported_ = false;
    bool progressNotifications_ = true;
    int master_ = 100;
    int pcm_ = 100;
    int balance_ = 50;
    std::map<std::string, long long> properties_;
    int lastPosition_ = -1;
    std::int64_t lastSecond_ = -1;

    std::thread thread_;
};
