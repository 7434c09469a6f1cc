#pragma once

#include <string>
#include <vector>

// One entry of a menu: a command, a separator, or a popup with entries of its own.
struct MenuItem {
    std::string text;
    int command = 0;
    std::vector<MenuItem> items;

    bool isSeparator() const { return text.empty() && command == 0 && items.empty(); }
    bool isPopup() const { return command == 0 && !text.empty(); }
};

// The program's menus by resource id: the frame menu 110, the module menus 111, 119, 207, 213,
// 214, the context popups 120 ("Dir", "List", "ListPlayer", "PlayList", "Info") and the font
// menu 116. Texts carry "&" before the mnemonic letter.
class MenuTable {
public:
    // The top-level popups of the menu, empty for an unknown id.
    static const std::vector<MenuItem>& menu(int resourceId);
    // The popup of that title ("Dir") among the top-level popups of the menu, or null.
    static const MenuItem* popup(int resourceId, const std::string& title);
    // The text of the command's first entry in a window menu, else in the context popups; empty
    // when no menu carries it.
    static std::string commandText(int command);
    // Every menu resource id, in ascending order.
    static std::vector<int> menuIds();
};
