#include "resources/AcceleratorTable.h"

#include "resources/ResourceIds.h"

const std::vector<Accelerator>& AcceleratorTable::accelerators(int resourceId) {
    static const std::vector<Accelerator> none;
    static const std::vector<Accelerator> frame = {
        {"Ctrl+C", ID_EDIT_COPY},       {"Ctrl+Ins", ID_EDIT_COPY},       {"Ctrl+V", ID_EDIT_PASTE},
        {"Shift+Ins", ID_EDIT_PASTE},   {"Ctrl+X", ID_EDIT_CUT},          {"Shift+Del", ID_EDIT_CUT},
        {"Ctrl+Z", ID_EDIT_UNDO},       {"Alt+Backspace", ID_EDIT_UNDO},  {"Ctrl+N", ID_FILE_NEW},
        {"Ctrl+O", ID_FILE_OPEN},       {"Ctrl+S", ID_FILE_SAVE},         {"Esc", ID_VIEW_STOP},
        {"F5", ID_VIEW_REFRESH},        {"Alt+Left", ID_BROWSE_BACK},     {"Alt+Right", ID_BROWSE_FORWARD},
        {"F1", ID_HELP},                {"Shift+F1", ID_CONTEXT_HELP},    {"F6", ID_NEXT_PANE},
        {"Shift+F6", ID_PREV_PANE},
        // The commands of the module forms; each works while its form is the active window. None
        // is a key that a text field uses for editing.
        {"Ctrl+Shift+E", ID_SPLIT},     {"Ctrl+Shift+W", ID_SHOW_PAGE},   {"Ctrl+Shift+D", ID_DECODE},
        {"Ctrl+Shift+K", IDC_GET_KEY},  {"Ctrl+P", IDC_PLAY},             {"Ctrl+Shift+P", ID_PLAYER_PAUSE},
        {"Ctrl+Shift+S", IDC_STOP},     {"Ctrl+Shift+U", ID_PLAYLIST_ADD_URL}, {"Ctrl+Shift+C", ID_START_CONVERT},
        {"F2", ID_LIST_RENAME},         {"Ctrl+Shift+Del", ID_LIST_DELETE}, {"Ctrl+R", ID_LIST_REFRESH},
    };
    return resourceId == IDR_MAINFRAME ? frame : none;
}

std::vector<std::string> AcceleratorTable::keysOf(int resourceId, int command) {
    std::vector<std::string> keys;
    for (const auto& accelerator : accelerators(resourceId))
        if (accelerator.command == command) keys.push_back(accelerator.keys);
    return keys;
}
