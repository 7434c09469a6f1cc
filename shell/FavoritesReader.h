#pragma once

#include <string>
#include <vector>

// One Favorites menu as read from a folder of Internet shortcuts: the sub-folder popups first
// (by name, case-insensitively), then the shortcuts of the folder itself (by title). Each
// shortcut carries its index into the list of favorite addresses.
struct FavoritesMenu {
    struct Entry {
        std::string title;
        int index = 0;
    };
    std::string name;  // a popup's label: the sub-folder's name
    std::vector<FavoritesMenu> popups;
    std::vector<Entry> entries;
};

// Reads a Favorites folder: every "*.url" file (lower-case extension, not hidden) is a shortcut
// whose address is the "URL" key of its "InternetShortcut" section; sub-folders become popups
// when they hold shortcuts somewhere below them.
class FavoritesReader {
public:
    static constexpr int MaxAddressLength = 2048;

    // Fills menu from folder, numbering the shortcuts from firstIndex on and putting each
    // address into addresses at its index; returns the next free index. A folder that cannot
    // be listed adds nothing.
    static int FillFavorites(const std::string& folder, int firstIndex, FavoritesMenu& menu,
                             std::vector<std::string>& addresses);
    // The "URL" value of a shortcut file, empty when the file, the section or the key is missing.
    static std::string readShortcutAddress(const std::string& path);
    // The text with $NAME, ${NAME} and %NAME% replaced by the environment's values; unknown
    // names stay as they are.
    static std::string expandEnvironment(const std::string& text);
};
