#pragma once

#include <string>

// A message that must interrupt the user: a message box with OK and Cancel and the stop icon.
// The answer is not used by any engine.
class MessageBoxSink {
public:
    virtual ~MessageBoxSink() = default;
    virtual void showStopBox(const std::string& text) = 0;
};
