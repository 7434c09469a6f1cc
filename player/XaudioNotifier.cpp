#include "player/XaudioNotifier.h"

#include "player/XA_Player.h"

#include <QCoreApplication>

XaudioEvent::XaudioEvent(const XA_Message& message)
    : QEvent(static_cast<QEvent::Type>(XaudioNotifier::FirstEventType + static_cast<int>(message.code() & 0xfff))),
      message_(message) {}

XaudioNotifier::XaudioNotifier(XA_Player* wrapper) : wrapper_(wrapper) {
    setObjectName("Xaudio Hidden Window");
}

void XaudioNotifier::post(const XA_Message& message) {
    QCoreApplication::postEvent(this, new XaudioEvent(message));
}

bool XaudioNotifier::event(QEvent* event) {
    if (wrapper_ && event->type() >= FirstEventType) {
        if (auto* notification = dynamic_cast<XaudioEvent*>(event)) {
            wrapper_->dispatch(notification->message());
            return true;
        }
    }
    return QObject::event(event);
}
