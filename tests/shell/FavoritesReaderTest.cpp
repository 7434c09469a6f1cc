#include "shell/FavoritesReader.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

class FavoritesReaderTest : public ::testing::Test {
protected:
    void shortcut(const std::string& name, const std::string& url) const {
        write(name, "[DEFAULT]\r\nBASEURL=http://wrong/\r\n[InternetShortcut]\r\nURL=" + url + "\r\nIconIndex=0\r\n");
    }
    void write(const std::string& name, const std::string& content) const {
        const std::filesystem::path path = folder_.file(name);
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << content;
    }
    static std::vector<std::string> titles(const FavoritesMenu& menu) {
        std::vector<std::string> result;
        for (const auto& entry : menu.entries) result.push_back(entry.title);
        return result;
    }
    int fill(FavoritesMenu& menu, std::vector<std::string>& addresses, int first = 0) const {
        return FavoritesReader::FillFavorites(folder_.path(), first, menu, addresses);
    }

    TempFolder folder_;
};

TEST_F(FavoritesReaderTest, ShortcutsComeInTitleOrderIgnoringCaseAndOnlyWithTheLowerCaseExtension) {
    shortcut("Beta.url", "http://beta/");
    shortcut("alpha.url", "http://alpha/");
    shortcut("Gamma.url", "http://gamma/");
    shortcut("Site.URL", "http://upper/");
    shortcut(".hidden.url", "http://hidden/");
    write("notes.txt", "URL=http://text/");
    FavoritesMenu menu;
    std::vector<std::string> addresses;
    EXPECT_EQ(fill(menu, addresses), 3);
    EXPECT_EQ(titles(menu), (std::vector<std::string>{"alpha", "Beta", "Gamma"}));
    EXPECT_EQ(addresses, (std::vector<std::string>{"http://alpha/", "http://beta/", "http://gamma/"}));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(menu.entries[static_cast<std::size_t>(i)].index, i);
    EXPECT_TRUE(menu.popups.empty());
}

TEST_F(FavoritesReaderTest, SubFoldersWithShortcutsComeAboveTheShortcutsAndEmptyOnesAreLeftOut) {
    shortcut("top.url", "http://top/");
    shortcut("news/Daily.url", "http://daily/");
    shortcut("Music/deep/Radio.url", "http://radio/");
    write("pictures/cat.jpg", "jpeg");
    std::filesystem::create_directories(folder_.file("empty"));
    FavoritesMenu menu;
    std::vector<std::string> addresses;
    EXPECT_EQ(fill(menu, addresses, 5), 8);
    ASSERT_EQ(menu.popups.size(), 2u);
    EXPECT_EQ(menu.popups[0].name, "Music");
    EXPECT_EQ(menu.popups[1].name, "news");
    ASSERT_EQ(menu.popups[0].popups.size(), 1u);
    EXPECT_EQ(titles(menu.popups[0].popups[0]), std::vector<std::string>{"Radio"});
    EXPECT_EQ(titles(menu), std::vector<std::string>{"top"});
    // Every entry's index leads to its own address.
    EXPECT_EQ(addresses.at(static_cast<std::size_t>(menu.entries[0].index)), "http://top/");
    EXPECT_EQ(addresses.at(static_cast<std::size_t>(menu.popups[1].entries[0].index)), "http://daily/");
    EXPECT_EQ(addresses.at(static_cast<std::size_t>(menu.popups[0].popups[0].entries[0].index)), "http://radio/");
}

TEST_F(FavoritesReaderTest, ShortcutFilesAreReadAsIniText) {
    const struct {
        const char* content;
        const char* address;
    } cases[] = {
        {"[InternetShortcut]\r\nURL=http://a/b?c=d\r\n", "http://a/b?c=d"},
        {"\xEF\xBB\xBF[internetshortcut]\nurl = \"file:///tmp/x.htm\" \n", "file:///tmp/x.htm"},
        {"[InternetShortcut]\r\nIconIndex=1\r\n", ""},                    // no URL: empty address
        {"[Other]\r\nURL=http://elsewhere/\r\n", ""},                     // URL of another section
        {"[InternetShortcut]\r\nURL=http://m\xFC" "nchen/\r\n", "http://m\xC3\xBC" "nchen/"},  // Windows-1252
    };
    for (const auto& c : cases) {
        write("case.url", c.content);
        EXPECT_EQ(FavoritesReader::readShortcutAddress(folder_.file("case.url")), c.address) << c.content;
    }
    EXPECT_EQ(FavoritesReader::readShortcutAddress(folder_.file("missing.url")), "");
    write("long.url", "[InternetShortcut]\nURL=http://x/" + std::string(5000, 'a') + "\n");
    EXPECT_EQ(FavoritesReader::readShortcutAddress(folder_.file("long.url")).size(),
              static_cast<std::size_t>(FavoritesReader::MaxAddressLength));
}

TEST_F(FavoritesReaderTest, AFolderThatCannotBeListedAddsNothing) {
    FavoritesMenu menu;
    std::vector<std::string> addresses;
    EXPECT_EQ(FavoritesReader::FillFavorites(folder_.file("none"), 7, menu, addresses), 7);
    EXPECT_TRUE(menu.entries.empty());
    EXPECT_TRUE(addresses.empty());
}

TEST(FavoritesFolder, EnvironmentVariablesAreExpanded) {
    ::setenv("QUARVEL_FAV_TEST", "/home/someone", 1);
    ::unsetenv("QUARVEL_FAV_UNSET");
    EXPECT_EQ(FavoritesReader::expandEnvironment("$QUARVEL_FAV_TEST/Favorites"), "/home/someone/Favorites");
    EXPECT_EQ(FavoritesReader::expandEnvironment("${QUARVEL_FAV_TEST}x"), "/home/someonex");
    EXPECT_EQ(FavoritesReader::expandEnvironment("%QUARVEL_FAV_TEST%\\Favorites"), "/home/someone\\Favorites");
    EXPECT_EQ(FavoritesReader::expandEnvironment("$QUARVEL_FAV_UNSET/a%b"), "$QUARVEL_FAV_UNSET/a%b");
}

}  // namespace
