#include "app/ReplacingFile.h"

#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace {

void replaceWith(const std::string& target, const std::string& text) {
    ReplacingFile file;
    ASSERT_TRUE(file.create(target)) << file.errorNumber();
    file.file().write(text.data(), text.size());
    file.commit(false);
}

mode_t permissions(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0);
    return info.st_mode & 07777;
}

std::size_t entriesIn(const std::string& folder) {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++count;
    return count;
}

} // namespace

TEST(ReplacingFileTest, TheReplacedFileKeepsItsPermissions) {
    TempFolder folder;
    const std::string target = folder.file("private.m3u");
    FileBytes::writeText(target, "old");
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    replaceWith(target, "new");
    EXPECT_EQ(FileBytes::readText(target), "new");
    EXPECT_EQ(permissions(target), 0640u);
}

TEST(ReplacingFileTest, ATargetReachedThroughALinkIsReplacedWhereItLies) {
    TempFolder folder;
    std::filesystem::create_directory(folder.file("music"));
    const std::string real = folder.file("music/song.mp3");
    const std::string link = folder.file("link.mp3");
    FileBytes::writeText(real, "old");
    std::filesystem::create_symlink(real, link);
    replaceWith(link, "new");
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(FileBytes::readText(real), "new");
    EXPECT_EQ(entriesIn(folder.path()), 2u); // no temporary file left beside the link
}

TEST(ReplacingFileTest, ANameOfTheLongestLengthCanBeReplaced) {
    TempFolder folder;
    // 255 bytes, the most a file name may have; two-byte letters so the cut meets a character.
    std::string name;
    while (name.size() + 2 <= 251) name += "\xC3\xA4";
    name += ".mp3";
    const std::string target = folder.file(name);
    FileBytes::writeText(target, "old");
    replaceWith(target, "new");
    EXPECT_EQ(FileBytes::readText(target), "new");
    EXPECT_EQ(entriesIn(folder.path()), 1u);
}
