#include "framework/LockKeyState.h"

#include <QGuiApplication>

#include <X11/XKBlib.h>

std::optional<LockStates> LockKeyState::current() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    unsigned int indicators = 0;
    if (!display || XkbGetIndicatorState(display, XkbUseCoreKbd, &indicators) != Success) return std::nullopt;
    // The core keyboard's usual indicator bits: Caps Lock, Num Lock, Scroll Lock.
    return LockStates{(indicators & 0x1u) != 0, (indicators & 0x2u) != 0, (indicators & 0x4u) != 0};
}
