#pragma once

#include "platform/xaudio/XA_Message.h"

#include <QEvent>
#include <QObject>

class XA_Player;

// The hidden notification object of the player wrapper: lives on the GUI thread, takes the
// component's records on its decoding thread as posted events of type 0x9000 + code, and hands
// each to the wrapper's dispatch on the GUI thread.
class XaudioNotifier : public QObject, public XA_NotificationSink {
public:
    static constexpr int FirstEventType = 0x9000;

    explicit XaudioNotifier(XA_Player* wrapper);
    // Decoding thread: queues the record for the GUI thread.
    void post(const XA_Message& message) override;
    bool event(QEvent* event) override;

private:
    XA_Player* wrapper_;
};

// One record as a posted event.
class XaudioEvent : public QEvent {
public:
    explicit XaudioEvent(const XA_Message& message);
    const XA_Message& message() const { return message_; }

private:
    XA_Message message_;
};
