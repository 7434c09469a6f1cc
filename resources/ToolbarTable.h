#pragma once

#include <vector>

// The program's toolbars by resource id (110 main frame, 204 Decoder, 207 Player, 213 Encoder,
// 214 Converter): the command of each button in order, kSeparator where a gap stands.
class ToolbarTable {
public:
    static constexpr int kSeparator = 0;
    // The buttons of the toolbar, empty for an unknown id.
    static const std::vector<int>& buttons(int resourceId);
    // Buttons of 16 pixels (the main frame's) or 32 (the Encoder's and Decoder's).
    static int buttonSize(int resourceId);
};
