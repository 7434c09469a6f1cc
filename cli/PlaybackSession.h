#pragma once

#include "cli/ConsoleReporter.h"
#include "platform/xaudio/XaudioPlayback.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>

// One playback component driven from the console: prints the player's state texts as they come
// and runs one input to its end, as the Player form does for one playlist entry.
class PlaybackSession : public XA_NotificationSink {
public:
    explicit PlaybackSession(ConsoleReporter& reporter);
    // Waits for the component to finish every command sent (the WAV output is complete then).
    ~PlaybackSession() override;
    PlaybackSession(const PlaybackSession&) = delete;
    PlaybackSession& operator=(const PlaybackSession&) = delete;

    bool valid() const { return player_ != nullptr; }
    XA_PlayerHandle player() const { return player_; }

    // Waits until the component carried out every command sent so far; false (the failure
    // printed) when one of them failed.
    bool settle();
    // Opens the location, plays it, and waits for the end of the stream or a stop; then closes
    // input and output. False when a command failed.
    bool playToEnd(const std::string& location);

    void post(const XA_Message& message) override;

private:
    XA_Message next();
    // Prints what the Player would show for a record; false when it ends the session.
    bool show(const XA_Message& message, bool& failed);

    ConsoleReporter& reporter_;
    std::string location_; // of the input being played, for the reason of its failure
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<XA_Message> messages_;
    XA_PlayerHandle player_ = nullptr;
};
