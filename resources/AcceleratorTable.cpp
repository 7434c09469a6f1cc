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
    };
    return resourceId == IDR_MAINFRAME ? frame : none;
}

std::vector<std::string> AcceleratorTable::keysOf(int resourceId, int command) {
    std::vector<std::string> keys;
    for (const auto& accelerator : accelerators(resourceId))
        if (accelerator.command == command) keys.push_back(accelerator.keys);
    return keys;
}
