#pragma once

#include "player/XA_Player.h"

#include <memory>
#include <string>

class MessageBoxSink;
class XaudioNotifier;

// The player wrapper with its notification object on the GUI thread: the component's decoding
// thread reaches the handlers through it. Checks the component's version first.
class XaudioPlayer : public XA_Player {
public:
    // Throws XaudioException(-106) after "Xaudio DLL API version mismatch" in a message box when
    // the version does not match, XaudioException(-100) when the notification object cannot be
    // made. A failed player_new leaves the handle null.
    explicit XaudioPlayer(MessageBoxSink* messages);
    // Deletes the player before the notification object, so that nothing posts to a dead one.
    ~XaudioPlayer() override;

    static bool versionMatches(unsigned long version);
    // "XaWrW%08x" of the creating thread's id.
    const std::string& className() const { return className_; }

private:
    std::string className_;
    std::unique_ptr<XaudioNotifier> notifier_;
};
