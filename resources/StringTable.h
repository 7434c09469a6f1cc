#pragma once

#include <string>

// The program's string table: window titles, messages and the command prompts. A command's
// prompt is "status bar text\ntooltip".
class StringTable {
public:
    // The string with that id, empty when the table has none.
    static std::string text(int id);
    // The status-bar half of a command prompt (all of it when there is no line break).
    static std::string statusText(int commandId);
    // The tooltip half of a command prompt, empty when there is none.
    static std::string tooltip(int commandId);
};
