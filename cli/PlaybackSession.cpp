#include "cli/PlaybackSession.h"

#include "base/TextFormat.h"
#include "platform/xaudio/XA_Codes.h"

PlaybackSession::PlaybackSession(ConsoleReporter& reporter) : reporter_(reporter) {
    if (player_new(&player_, this) != 0) player_ = nullptr;
}

PlaybackSession::~PlaybackSession() {
    player_delete(player_);
}

void PlaybackSession::post(const XA_Message& message) {
    {
        std::lock_guard lock(mutex_);
        messages_.push_back(message);
    }
    arrived_.notify_one();
}

XA_Message PlaybackSession::next() {
    std::unique_lock lock(mutex_);
    arrived_.wait(lock, [&] { return !messages_.empty(); });
    const XA_Message message = messages_.front();
    messages_.pop_front();
    return message;
}

bool PlaybackSession::settle() {
    // Commands run in order, and a level command that keeps every level answers with level
    // notifications: their arrival marks the end of everything sent before.
    control_message_send(player_, XA::Levels, XA::KeepLevel, XA::KeepLevel, XA::KeepLevel);
    bool failed = false;
    for (;;) {
        const XA_Message message = next();
        if (message.code() == XA::MasterLevel) return !failed;
        show(message, failed);
    }
}

bool PlaybackSession::playToEnd(const std::string& location) {
    location_ = location;
    control_message_send(player_, XA::InputOpen, location);
    control_message_send(player_, XA::Play);
    bool failed = false;
    while (show(next(), failed)) {
    }
    control_message_send(player_, XA::InputClose);
    control_message_send(player_, XA::InputOpen, nullptr);
    control_message_send(player_, XA::OutputOpen, nullptr);
    return !failed;
}

bool PlaybackSession::show(const XA_Message& message, bool& failed) {
    switch (message.code()) {
    case XA::PlayerState: {
        static const char* const texts[] = {"STOPPED", "PLAYING", "PAUSED", "EOF"};
        const unsigned state = message.byteAt(4);
        if (state > 3) return true;
        reporter_.setStatus(texts[state]);
        return state == XA::Playing || state == XA::Paused;
    }
    case XA::CommandFailed:
        reporter_.setStatus(TextFormat::format("Command %d failed\n[%s]", message.byteAt(4),
                                               xaudio_error_string(message.int16At(6))));
        // The reason of an input's failure is about that input.
        if (const std::string reason = message.textAt(8); !reason.empty())
            reporter_.error(message.byteAt(4) == XA::InputOpen && !location_.empty() ? location_ + ": " + reason : reason);
        failed = true;
        return false;
    case XA::StreamInfo:
        reporter_.setStatus(TextFormat::format("%d kBit", message.uint16At(8)));
        return true;
    case XA::Duration: {
        const unsigned s = message.uint32At(4);
        reporter_.setStatus(TextFormat::format("%02d:%02d:%02d", s / 3600, s % 3600 / 60, s % 60));
        return true;
    }
    case XA::NetworkProgress:
        if (message.byteAt(5) == XA::Connecting) reporter_.setStatus("Connecting");
        if (message.byteAt(5) == XA::Connected) reporter_.setStatus("Connected");
        return true;
    default:
        return true;
    }
}
