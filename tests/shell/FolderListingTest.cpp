#include "shell/FileCommands.h"
#include "shell/FolderListing.h"
#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::vector<std::string> names(const std::vector<LVFILEDATA>& rows) {
    std::vector<std::string> result;
    for (const LVFILEDATA& row : rows) result.push_back(row.name);
    return result;
}

}  // namespace

TEST(FolderListingTest, ListsFilesOnlyWithoutHiddenOnesAndAppliesTheFilterInAnyCase) {
    TempFolder folder;
    FileBytes::write(folder.file("b.mp3"), FileBytes::pattern(3));
    FileBytes::write(folder.file("A.MP3"), FileBytes::pattern(1));
    FileBytes::write(folder.file("c.txt"), FileBytes::pattern(2));
    FileBytes::write(folder.file(".hidden.mp3"), FileBytes::pattern(2));
    std::filesystem::create_directory(folder.file("sub.mp3"));

    const auto all = FolderListing::list(folder.path(), "");
    ASSERT_TRUE(all);
    EXPECT_EQ(names(*all), (std::vector<std::string>{"A.MP3", "b.mp3", "c.txt"}));
    const auto mp3 = FolderListing::list(folder.path(), ".MP3");
    ASSERT_TRUE(mp3);
    EXPECT_EQ(names(*mp3), (std::vector<std::string>{"A.MP3", "b.mp3"}));
    EXPECT_EQ(FolderListing::nameTitle(".mp3"), "Name - Filter: *.mp3");
    EXPECT_EQ(FolderListing::nameTitle(""), "Name");

    TempFolder empty;
    const auto none = FolderListing::list(empty.path(), "");
    ASSERT_TRUE(none);  // an empty folder lists fine
    EXPECT_TRUE(none->empty());
    EXPECT_FALSE(FolderListing::list(folder.file("missing"), ""));
}

TEST(FolderListingTest, SizesPastFourGibibytesShowAndSortByTheirRealSize) {
    TempFolder folder;
    FileBytes::write(folder.file("small"), FileBytes::pattern(10));
    FileBytes::write(folder.file("empty"), {});
    FileBytes::write(folder.file("huge"), {});
    std::filesystem::resize_file(folder.file("huge"), 5'000'000'000ull);  // sparse
    auto rows = FolderListing::list(folder.path(), "");
    ASSERT_TRUE(rows);
    FolderListing::sort(*rows, FolderListing::Column::Size, false);
    EXPECT_EQ(names(*rows), (std::vector<std::string>{"huge", "small", "empty"}));
    EXPECT_EQ(rows->front().sizeText, "5000000000");
    EXPECT_EQ(rows->front().size, 5'000'000'000ull);
    FolderListing::sort(*rows, FolderListing::Column::Size, true);
    EXPECT_EQ(names(*rows), (std::vector<std::string>{"empty", "small", "huge"}));
}

TEST(FolderListingTest, AFileTheUserCannotWriteCarriesTheReadOnlyLetter) {
    TempFolder folder;
    FileBytes::write(folder.file("locked"), FileBytes::pattern(1));
    ::chmod(folder.file("locked").c_str(), 0444);
    const auto row = FolderListing::details(folder.file("locked"));
    ASSERT_TRUE(row);
    EXPECT_EQ(row->attributeLetters, "R");
}

TEST(FileCommandsTest, RenameStaysInTheFolderAndNeverReplacesAFile) {
    TempFolder folder;
    FileBytes::writeText(folder.file("song.mp3"), "song");
    FileBytes::writeText(folder.file("other.mp3"), "other");
    struct Case {
        const char* newName;
        bool renamed;
    };
    for (const Case& refused : {Case{"", false}, Case{".", false}, Case{"..", false}, Case{"song.mp3", false},
                                Case{"other.mp3", false}, Case{"../up.mp3", false}, Case{"sub/x.mp3", false}}) {
        EXPECT_FALSE(FileCommands::renameWithinFolder(folder.file("song.mp3"), refused.newName)) << refused.newName;
        EXPECT_EQ(FileBytes::readText(folder.file("song.mp3")), "song");
        EXPECT_EQ(FileBytes::readText(folder.file("other.mp3")), "other");
    }
    EXPECT_TRUE(FileCommands::renameWithinFolder(folder.file("song.mp3"), "Song 2.mp3"));
    EXPECT_EQ(FileBytes::readText(folder.file("Song 2.mp3")), "song");
    EXPECT_FALSE(FileBytes::exists(folder.file("song.mp3")));

    EXPECT_TRUE(FileCommands::remove(folder.file("other.mp3")));
    EXPECT_FALSE(FileBytes::exists(folder.file("other.mp3")));
    EXPECT_FALSE(FileCommands::remove(folder.file("other.mp3")));
}
