#include "resources/AcceleratorTable.h"
#include "resources/MenuTable.h"
#include "resources/ResourceIds.h"
#include "resources/StringTable.h"
#include "resources/ToolbarTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>

namespace {

std::vector<std::string> titles(const std::vector<MenuItem>& items) {
    std::vector<std::string> result;
    for (const auto& item : items) result.push_back(item.isSeparator() ? "-" : item.text);
    return result;
}

}  // namespace

TEST(StringTableTest, FramePromptsSplitIntoStatusTextAndTooltip) {
    struct Case {
        int command;
        const char* status;
        const char* tooltip;
    };
    const Case cases[] = {
        {ID_VIEW_DIRTREE, "Show or hide the directory tree", "Toggle Directory Tree"},
        {ID_DECODER, "VYX Split Decoder", "Decoder"},
        {ID_PLAYER, "MP3 Player", "MP3"},
        {ID_CONVERTER, "WAV Converter", "Convert"},
        {ID_FTP, "FTP Client", "FTP"},
        {ID_ENCODER, "Encode & Split", "Encoder"},
        {ID_HELP, "Display help for current task or command", "Help"},
        {ID_VIEW_TOOLBAR, "Show or hide the toolbar", "Toggle ToolBar"},
        {ID_VIEW_STATUS_BAR, "Show or hide the status bar", "Toggle StatusBar"},
        {ID_DECODE, "Decode File Splits", "Decode"},
        {ID_BROWSE_SEARCH, "Opens your search page.", "Search the Internet"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StringTable::statusText(c.command), c.status) << c.command;
        EXPECT_EQ(StringTable::tooltip(c.command), c.tooltip) << c.command;
    }
    EXPECT_EQ(StringTable::text(IDS_SOCKETS_INIT_FAILED), "Windows sockets initialization failed.");
    EXPECT_EQ(StringTable::text(IDS_FRAME_TITLE), "Quarvel 3.1");
    EXPECT_EQ(StringTable::text(IDS_NO_FILE_TO_DECODE), "Keine Datei zu decodieren");
    EXPECT_EQ(StringTable::text(IDS_APP_TITLE), "vyx31");
    EXPECT_EQ(StringTable::text(12345), "");
    EXPECT_EQ(StringTable::tooltip(12345), "");
}

TEST(MenuTableTest, FrameMenuAndModuleMenusDifferInTheirActionPopup) {
    const auto& frame = MenuTable::menu(IDR_MAINFRAME);
    EXPECT_EQ(titles(frame), (std::vector<std::string>{"&File", "&View", "&Action", "&Help"}));
    EXPECT_EQ(titles(frame[2].items),
              (std::vector<std::string>{"&Decode", "&Player", "&Converter", "&FTP", "-", "&Encoder"}));
    EXPECT_EQ(frame[2].items[0].command, ID_DECODE);

    for (const int module : {IDR_DECODER, IDR_ENCODER, IDR_PLAYER, IDR_CONVERTER}) {
        const MenuItem* action = MenuTable::popup(module, "&Action");
        ASSERT_NE(action, nullptr) << module;
        // In the Decoder's own menu that entry is the submenu of its commands.
        if (module != IDR_DECODER) EXPECT_EQ(action->items[0].command, ID_DECODER) << module;
        ASSERT_NE(MenuTable::popup(module, "&Edit"), nullptr) << module;
        EXPECT_EQ(titles(MenuTable::popup(module, "&View")->items),
                  (std::vector<std::string>{"&Toolbar", "&Status Bar", "&Directory Tree"}));
    }
    // The Player's and the Converter's own entries are submenus of their commands.
    EXPECT_TRUE(MenuTable::popup(IDR_PLAYER, "&Action")->items[1].isPopup());
    EXPECT_EQ(titles(MenuTable::popup(IDR_CONVERTER, "&Action")->items[2].items),
              (std::vector<std::string>{"&Start Convert", "-", "Re&name", "De&lete", "Re&fresh", "-",
                                        "Help Converter", "Close"}));
}

// Tab never reaches a form's toolbar, so each toolbar button must also be a menu entry of its
// module, and the main ones must have a key.
TEST(MenuTableTest, EveryFormToolbarCommandIsInItsModulesMenuAndTheMainOnesHaveKeys) {
    const std::pair<int, int> modules[] = {{IDR_DECODER_TOOLBAR, IDR_DECODER},
                                           {IDR_ENCODER, IDR_ENCODER},
                                           {IDR_PLAYER, IDR_PLAYER},
                                           {IDR_CONVERTER, IDR_CONVERTER}};
    for (const auto& [toolbar, menu] : modules) {
        std::vector<int> inMenu;
        const std::function<void(const std::vector<MenuItem>&)> collect = [&](const std::vector<MenuItem>& items) {
            for (const auto& item : items) {
                inMenu.push_back(item.command);
                collect(item.items);
            }
        };
        collect(MenuTable::menu(menu));
        for (const int command : ToolbarTable::buttons(toolbar)) {
            if (command == ToolbarTable::kSeparator) continue;
            EXPECT_NE(std::find(inMenu.begin(), inMenu.end(), command), inMenu.end())
                << "button " << command << " of toolbar " << toolbar << " is in no menu entry";
        }
    }
    for (const int command : {ID_SPLIT, ID_SHOW_PAGE, ID_DECODE, IDC_GET_KEY, IDC_PLAY, ID_PLAYER_PAUSE, IDC_STOP,
                              ID_PLAYLIST_ADD_URL, ID_START_CONVERT, ID_LIST_RENAME, ID_LIST_DELETE, ID_LIST_REFRESH})
        EXPECT_FALSE(AcceleratorTable::keysOf(IDR_MAINFRAME, command).empty()) << command;
}

TEST(MenuTableTest, ContextPopupsAndTheirCommands) {
    EXPECT_EQ(titles(MenuTable::menu(IDR_POPUPS)),
              (std::vector<std::string>{"Dir", "List", "ListPlayer", "PlayList", "Info"}));
    const MenuItem* dir = MenuTable::popup(IDR_POPUPS, "Dir");
    ASSERT_NE(dir, nullptr);
    std::vector<int> commands;
    for (const auto& item : dir->items) commands.push_back(item.command);
    EXPECT_EQ(commands, (std::vector<int>{ID_DIR_RENAME, ID_DIR_CREATE, ID_DIR_REMOVE, ID_DIR_REFRESH}));
    EXPECT_EQ(titles(MenuTable::popup(IDR_POPUPS, "Info")->items),
              (std::vector<std::string>{"E&xpand", "&Collapse", "-", "Expand &all", "-", "&Edit ID3 Tag",
                                        "&Write ID3 Tag"}));
    EXPECT_EQ(MenuTable::popup(IDR_POPUPS, "Missing"), nullptr);
    EXPECT_TRUE(MenuTable::menu(999).empty());
}

TEST(ToolbarTableTest, MainToolbarOrderAndEveryButtonHasAPromptOrMenuText) {
    const auto& main = ToolbarTable::buttons(IDR_MAINFRAME);
    ASSERT_EQ(main.size(), 25u);
    EXPECT_EQ(main.front(), ID_EDIT_CUT);
    EXPECT_EQ(main[8], ID_DECODER);
    EXPECT_EQ(main[12], ID_FTP);
    EXPECT_EQ(main.back(), ID_FILE_CLOSE);
    EXPECT_EQ(ToolbarTable::buttons(IDR_ENCODER).back(), ID_SHOW_PAGE);
    EXPECT_EQ(ToolbarTable::buttons(IDR_DECODER_TOOLBAR).front(), ID_DECODE);
    EXPECT_EQ(ToolbarTable::buttons(IDR_PLAYER).size(), 9u);
    EXPECT_EQ(ToolbarTable::buttonSize(IDR_ENCODER), 32);
    EXPECT_EQ(ToolbarTable::buttonSize(IDR_MAINFRAME), 16);
    for (const int toolbar : {IDR_MAINFRAME, IDR_DECODER_TOOLBAR, IDR_PLAYER, IDR_ENCODER, IDR_CONVERTER})
        for (const int command : ToolbarTable::buttons(toolbar)) {
            if (command == ToolbarTable::kSeparator) continue;
            EXPECT_FALSE(StringTable::text(command).empty() && MenuTable::commandText(command).empty())
                << "button " << command << " of toolbar " << toolbar << " has no text";
        }
}

TEST(AcceleratorTableTest, FrameKeys) {
    EXPECT_EQ(AcceleratorTable::keysOf(IDR_MAINFRAME, ID_EDIT_COPY), (std::vector<std::string>{"Ctrl+C", "Ctrl+Ins"}));
    EXPECT_EQ(AcceleratorTable::keysOf(IDR_MAINFRAME, ID_HELP), (std::vector<std::string>{"F1"}));
    EXPECT_EQ(AcceleratorTable::keysOf(IDR_MAINFRAME, ID_BROWSE_BACK), (std::vector<std::string>{"Alt+Left"}));
    EXPECT_EQ(AcceleratorTable::accelerators(IDR_MAINFRAME).size(), 31u);
    EXPECT_TRUE(AcceleratorTable::accelerators(IDR_DECODER).empty());
}

// A key that sends two commands sends neither.
TEST(AcceleratorTableTest, NoKeySendsTwoCommands) {
    std::map<std::string, int> commandOfKey;
    for (const auto& accelerator : AcceleratorTable::accelerators(IDR_MAINFRAME)) {
        const auto [found, added] = commandOfKey.emplace(accelerator.keys, accelerator.command);
        EXPECT_TRUE(added || found->second == accelerator.command)
            << accelerator.keys << " sends " << found->second << " and " << accelerator.command;
    }
}
