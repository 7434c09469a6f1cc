#include "resources/MenuTable.h"

#include "resources/ResourceIds.h"

#include <map>

namespace {

MenuItem entry(const char* text, int command) { return MenuItem{text, command, {}}; }
MenuItem separator() { return MenuItem{}; }
MenuItem popupOf(const char* text, std::vector<MenuItem> items) { return MenuItem{text, 0, std::move(items)}; }

MenuItem editPopup() {
    return popupOf("&Edit", {entry("&Undo", ID_EDIT_UNDO), entry("Cu&t", ID_EDIT_CUT),
                             entry("&Copy", ID_EDIT_COPY), entry("&Paste", ID_EDIT_PASTE)});
}

MenuItem viewPopup() {
    return popupOf("&View", {entry("&Toolbar", ID_VIEW_TOOLBAR), entry("&Status Bar", ID_VIEW_STATUS_BAR),
                             entry("&Directory Tree", ID_VIEW_DIRTREE)});
}

MenuItem helpPopup() {
    return popupOf("&Help", {entry("&Help", ID_HELP), separator(), entry("&About vyx31...", ID_APP_ABOUT)});
}

MenuItem modulePlayerEntry() { return entry("&Player", ID_PLAYER); }
MenuItem moduleConverterEntry() { return entry("&Converter", ID_CONVERTER); }
MenuItem moduleDecoderEntry() { return entry("&Decoder", ID_DECODER); }
MenuItem moduleEncoderEntry() { return entry("&Encoder", ID_ENCODER); }

MenuItem actionPopup(MenuItem first, MenuItem player, MenuItem converter, MenuItem encoder = moduleEncoderEntry()) {
    return popupOf("&Action", {std::move(first), std::move(player), std::move(converter), entry("&FTP", ID_FTP),
                               separator(), std::move(encoder)});
}

// The menus of the module windows: the frame's popups plus Edit, with a File popup that closes
// the module window or the program. A module's own Action entry is a submenu of its form's
// commands, so that every command of the form's toolbar has a menu entry and a key.
std::vector<MenuItem> moduleMenu(MenuItem player, MenuItem converter, MenuItem decoder = moduleDecoderEntry(),
                                 MenuItem encoder = moduleEncoderEntry()) {
    return {popupOf("&File", {entry("&Close", ID_FILE_CLOSE), separator(), entry("E&xit", ID_APP_EXIT)}),
            editPopup(), viewPopup(),
            actionPopup(std::move(decoder), std::move(player), std::move(converter), std::move(encoder)), helpPopup()};
}

std::vector<MenuItem> listCommands() {
    return {entry("Re&name", ID_LIST_RENAME), entry("De&lete", ID_LIST_DELETE), entry("Re&fresh", ID_LIST_REFRESH)};
}

// A module's submenu: its own commands, the file list's commands, then its Help and Close.
MenuItem formPopup(const char* text, std::vector<MenuItem> own, const char* helpText) {
    own.push_back(separator());
    for (auto& item : listCommands()) own.push_back(item);
    own.push_back(separator());
    own.push_back(entry(helpText, ID_HELP));
    own.push_back(entry("Close", ID_FILE_CLOSE));
    return popupOf(text, std::move(own));
}

std::vector<MenuItem> listPlayerCommands() {
    std::vector<MenuItem> items = {entry("&Play", ID_LIST_PLAY), entry("&Add Playlist", ID_LIST_ADD_PLAYLIST)};
    for (auto& item : listCommands()) items.push_back(item);
    return items;
}

std::map<int, std::vector<MenuItem>> buildMenus() {
    std::map<int, std::vector<MenuItem>> menus;
    menus[IDR_MAINFRAME] = {
        popupOf("&File", {entry("E&xit", ID_APP_EXIT)}), viewPopup(),
        actionPopup(entry("&Decode", ID_DECODE), modulePlayerEntry(), moduleConverterEntry()), helpPopup()};
    menus[IDR_DECODER] = moduleMenu(
        modulePlayerEntry(), moduleConverterEntry(),
        formPopup("&Decoder",
                  {entry("&Decode", ID_DECODE), entry("&Get Key", IDC_GET_KEY), separator(),
                   entry("&Check Set", ID_CHECK_SET), entry("Open &Url...", ID_OPEN_URL)},
                  "Help Decoder"));
    menus[IDR_ENCODER] = moduleMenu(
        modulePlayerEntry(), moduleConverterEntry(), moduleDecoderEntry(),
        formPopup("&Encoder", {entry("Encode && &Split", ID_SPLIT), entry("Show &Page", ID_SHOW_PAGE)}, "Help Encoder"));
    menus[IDR_PLAYER] = moduleMenu(
        formPopup("&Player", {entry("&Play", IDC_PLAY), entry("P&ause", ID_PLAYER_PAUSE), entry("&Stop", IDC_STOP),
                              entry("Add &URL", ID_PLAYLIST_ADD_URL), separator(), entry("&Equalizer", IDC_EQUALIZER),
                              separator(), entry("Spe&ctrum", IDC_SPECTRUM), entry("&Oscilloscope", IDC_OSCILLOSCOPE),
                              entry("&VU", IDC_VU)},
                  "Help Player"),
        moduleConverterEntry());
    menus[IDR_CONVERTER] = moduleMenu(
        modulePlayerEntry(), formPopup("&Converter", {entry("&Start Convert", ID_START_CONVERT)}, "Help Converter"));
    menus[IDR_HELP] = {
        popupOf("&File", {entry("&Open File...", ID_FILE_OPEN_FILE), entry("Open &Url", ID_FILE_OPEN_URL),
                          entry("&Print...", ID_FILE_PRINT), entry("Print Pre&view", ID_FILE_PRINT_PREVIEW),
                          entry("P&rint Setup...", ID_FILE_PRINT_SETUP), entry("E&xit", ID_APP_EXIT)}),
        editPopup(),
        popupOf("&View", {entry("&Toolbar", ID_VIEW_TOOLBAR), entry("&Status Bar", ID_VIEW_STATUS_BAR),
                          entry("&Directory Tree", ID_VIEW_DIRTREE), entry("Decode", ID_DECODE),
                          entry("MP3", ID_PLAYER), entry("FTP", ID_VIEW_FTP), entry("Help Window", ID_HELP_WINDOW),
                          popupOf("Fo&nts", {entry("Largest", ID_FONT_LARGEST), entry("Large", ID_FONT_LARGE),
                                             entry("Medium", ID_FONT_MEDIUM), entry("Small", ID_FONT_SMALL),
                                             entry("Smallest", ID_FONT_SMALLEST)}),
                          entry("Sto&p", ID_VIEW_STOP), entry("&Refresh", ID_VIEW_REFRESH)}),
        popupOf("&Go", {entry("&Back", ID_GO_BACK), entry("&Forward", ID_GO_FORWARD),
                        entry("&Start Page", ID_BROWSE_HOME)}),
        // Filled at run time from the user's Internet shortcuts.
        MenuItem{"F&avorites", 0, {}},
        popupOf("&Help", {entry("&About vyx31...", ID_APP_ABOUT)})};
    menus[IDR_FONTMENU] = {popupOf("Font", {entry("Lar&gest", ID_FONT_LARGEST), entry("&Larger", ID_FONT_LARGE),
                                            entry("&Medium", ID_FONT_MEDIUM), entry("&Smaller", ID_FONT_SMALL),
                                            entry("Sm&allest", ID_FONT_SMALLEST)})};
    menus[IDR_POPUPS] = {
        popupOf("Dir", {entry("Re&name Dir", ID_DIR_RENAME), entry("&Create Dir", ID_DIR_CREATE),
                        entry("&Remove Dir", ID_DIR_REMOVE), entry("Re&fresh", ID_DIR_REFRESH)}),
        popupOf("List", listCommands()),
        popupOf("ListPlayer", listPlayerCommands()),
        popupOf("PlayList", {entry("&Start", ID_PLAYLIST_START), entry("S&top", ID_PLAYLIST_STOP),
                             entry("&Delete", ID_PLAYLIST_DELETE), entry("&Clear All", ID_PLAYLIST_CLEAR_ALL),
                             entry("Add &URL", ID_PLAYLIST_ADD_URL), entry("&Save", ID_PLAYLIST_SAVE)}),
        popupOf("Info", {entry("E&xpand", ID_INFO_EXPAND), entry("&Collapse", ID_INFO_COLLAPSE), separator(),
                         entry("Expand &all", ID_INFO_EXPAND_ALL), separator(),
                         entry("&Edit ID3 Tag", ID_INFO_EDIT_ID3), entry("&Write ID3 Tag", ID_INFO_WRITE_ID3)})};
    return menus;
}

const std::map<int, std::vector<MenuItem>>& menus() {
    static const auto all = buildMenus();
    return all;
}

const MenuItem* findCommand(const std::vector<MenuItem>& items, int command) {
    for (const auto& item : items) {
        if (item.command == command) return &item;
        if (const MenuItem* inner = findCommand(item.items, command)) return inner;
    }
    return nullptr;
}

}  // namespace

const std::vector<MenuItem>& MenuTable::menu(int resourceId) {
    static const std::vector<MenuItem> none;
    const auto found = menus().find(resourceId);
    return found == menus().end() ? none : found->second;
}

const MenuItem* MenuTable::popup(int resourceId, const std::string& title) {
    for (const auto& item : menu(resourceId))
        if (item.isPopup() && item.text == title) return &item;
    return nullptr;
}

std::string MenuTable::commandText(int command) {
    // The context popups show their own texts; a window menu names the command first, so that
    // an id the popups use for something else (the tree's Refresh is the Player's Pause) keeps
    // the window's name on its buttons.
    for (const auto& [id, items] : menus())
        if (const MenuItem* item = id != IDR_POPUPS ? findCommand(items, command) : nullptr) return item->text;
    if (const MenuItem* item = findCommand(menus().at(IDR_POPUPS), command)) return item->text;
    return {};
}

std::vector<int> MenuTable::menuIds() {
    std::vector<int> ids;
    for (const auto& [id, items] : menus()) ids.push_back(id);
    return ids;
}
