#pragma once

#include <string>
#include <vector>

// One key of an accelerator table: the key in the portable text form that key sequences are
// written in ("Ctrl+C", "Shift+Insert", "Alt+Left") and the command it sends.
struct Accelerator {
    std::string keys;
    int command;
};

// The frame's accelerator table 110: every key that sends a command in any window.
class AcceleratorTable {
public:
    static const std::vector<Accelerator>& accelerators(int resourceId);
    // The keys that send the command, in table order.
    static std::vector<std::string> keysOf(int resourceId, int command);
};
