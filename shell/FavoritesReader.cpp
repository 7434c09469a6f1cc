#include "shell/FavoritesReader.h"

#include "base/Utf8Text.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

constexpr int kShortcutExtensionLength = 4;  // ".url"

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool lessIgnoringCase(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return lowerAscii(x) < lowerAscii(y); });
}

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return lowerAscii(x) == lowerAscii(y);
           });
}

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

// Where a new name goes so that the names stay in ascending order: before the first greater one.
template <typename Item, typename NameOf>
std::size_t insertPosition(const std::vector<Item>& items, const std::string& name, NameOf nameOf) {
    const auto greater = std::find_if(items.begin(), items.end(),
                                      [&](const Item& item) { return lessIgnoringCase(name, nameOf(item)); });
    return static_cast<std::size_t>(greater - items.begin());
}

bool isHidden(const std::string& name) { return !name.empty() && name.front() == '.'; }

bool isShortcutName(const std::string& name) {
    return name.size() > kShortcutExtensionLength &&
           name.compare(name.size() - kShortcutExtensionLength, kShortcutExtensionLength, ".url") == 0;
}

struct FolderEntries {
    std::vector<std::string> files;    // regular, not hidden
    std::vector<std::string> folders;  // not hidden
    bool listed = false;
};

FolderEntries listFolder(const std::string& folder) {
    FolderEntries entries;
    std::error_code error;
    fs::directory_iterator it(folder, error);
    if (error) return entries;
    entries.listed = true;
    for (; it != fs::directory_iterator(); it.increment(error)) {
        if (error) break;
        const std::string name = it->path().filename().string();
        if (isHidden(name)) continue;
        std::error_code kindError;
        if (it->is_directory(kindError))
            entries.folders.push_back(name);
        else if (it->is_regular_file(kindError))
            entries.files.push_back(name);
    }
    return entries;
}

}  // namespace

int FavoritesReader::FillFavorites(const std::string& folder, int firstIndex, FavoritesMenu& menu,
                                   std::vector<std::string>& addresses) {
    const FolderEntries entries = listFolder(folder);
    if (!entries.listed) return firstIndex;
    const fs::path base(folder);

    // Shortcuts, kept in title order; their addresses take the same places from firstIndex on.
    std::vector<FavoritesMenu::Entry> shortcuts;
    std::vector<std::string> shortcutAddresses;
    for (const std::string& name : entries.files) {
        if (!isShortcutName(name)) continue;
        const std::string title = name.substr(0, name.size() - kShortcutExtensionLength);
        const std::size_t at = insertPosition(shortcuts, title, [](const FavoritesMenu::Entry& e) { return e.title; });
        shortcuts.insert(shortcuts.begin() + static_cast<std::ptrdiff_t>(at), {title, 0});
        shortcutAddresses.insert(shortcutAddresses.begin() + static_cast<std::ptrdiff_t>(at),
                                 readShortcutAddress((base / name).string()));
    }
    int next = firstIndex;
    if (addresses.size() < static_cast<std::size_t>(firstIndex)) addresses.resize(static_cast<std::size_t>(firstIndex));
    for (std::size_t i = 0; i < shortcuts.size(); ++i) {
        shortcuts[i].index = next++;
        addresses.insert(addresses.begin() + shortcuts[i].index, shortcutAddresses[i]);
    }
    menu.entries.insert(menu.entries.end(), shortcuts.begin(), shortcuts.end());

    // Sub-folders in name order, so that their shortcuts are numbered as the menu shows them.
    std::vector<std::string> folders = entries.folders;
    std::stable_sort(folders.begin(), folders.end(), lessIgnoringCase);
    for (const std::string& name : folders) {
        FavoritesMenu popup;
        popup.name = name;
        const int after = FillFavorites((base / name).string(), next, popup, addresses);
        if (after == next) continue;  // no shortcut anywhere below it
        next = after;
        const std::size_t at = insertPosition(menu.popups, name, [](const FavoritesMenu& p) { return p.name; });
        menu.popups.insert(menu.popups.begin() + static_cast<std::ptrdiff_t>(at), std::move(popup));
    }
    return next;
}

std::string FavoritesReader::readShortcutAddress(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return {};
    std::string line;
    bool inSection = false;
    bool firstLine = true;
    while (std::getline(file, line)) {
        std::string_view text = line;
        if (firstLine && text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
        firstLine = false;
        text = trimmed(text);
        if (text.empty() || text.front() == ';') continue;
        if (text.front() == '[') {
            const auto close = text.find(']');
            inSection = close != std::string_view::npos && equalIgnoringCase(trimmed(text.substr(1, close - 1)), "InternetShortcut");
            continue;
        }
        const auto equals = text.find('=');
        if (!inSection || equals == std::string_view::npos || !equalIgnoringCase(trimmed(text.substr(0, equals)), "URL"))
            continue;
        std::string_view value = trimmed(text.substr(equals + 1));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
        // Shortcuts written on Windows may carry Windows-1252 text.
        std::string address = Utf8Text::isValid(value) ? std::string(value) : Utf8Text::fromWindows1252(value);
        return std::string(Utf8Text::cutAtBoundary(address, MaxAddressLength));
    }
    return {};
}

std::string FavoritesReader::expandEnvironment(const std::string& text) {
    std::string result;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t nameStart = std::string::npos;
        std::size_t nameEnd = std::string::npos;
        std::size_t end = std::string::npos;
        if (text[i] == '%') {
            const auto close = text.find('%', i + 1);
            if (close != std::string::npos && close > i + 1) nameStart = i + 1, nameEnd = close, end = close + 1;
        } else if (text[i] == '$' && i + 1 < text.size() && text[i + 1] == '{') {
            const auto close = text.find('}', i + 2);
            if (close != std::string::npos && close > i + 2) nameStart = i + 2, nameEnd = close, end = close + 1;
        } else if (text[i] == '$') {
            std::size_t j = i + 1;
            while (j < text.size() && (std::isalnum(static_cast<unsigned char>(text[j])) || text[j] == '_')) ++j;
            if (j > i + 1) nameStart = i + 1, nameEnd = j, end = j;
        }
        const char* value = nameStart == std::string::npos ? nullptr
                                                           : std::getenv(text.substr(nameStart, nameEnd - nameStart).c_str());
        if (value) {
            result += value;
            i = end;
        } else {
            result += text[i++];
        }
    }
    return result;
}
