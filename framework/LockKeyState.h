#pragma once

#include <optional>

// The states of Caps Lock, Num Lock and Scroll Lock, where the platform reports them (an X11
// display); nothing elsewhere.
struct LockStates {
    bool caps = false;
    bool num = false;
    bool scroll = false;
};

class LockKeyState {
public:
    static std::optional<LockStates> current();
};
