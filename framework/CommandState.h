#pragma once

// What the update pass decides for one command: whether its menu entries and buttons are
// enabled and whether they carry a check mark.
struct CommandState {
    bool handled = false;
    bool enabled = false;
    bool checkable = false;
    bool checked = false;
};
