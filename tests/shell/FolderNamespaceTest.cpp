#include "shell/FolderNamespace.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

std::vector<std::string> names(const std::vector<FolderEntry>& entries) {
    std::vector<std::string> result;
    for (const auto& entry : entries) result.push_back(entry.name);
    return result;
}

}  // namespace

TEST(FolderNamespaceTest, TopLevelIsHomeDesktopAndVirtualComputer) {
    TempFolder home;
    fs::create_directories(home.file("Desktop"));
    const FolderNamespace folders(home.path(), home.file("Desktop"), "/nonexistent");
    const auto top = folders.topLevel();
    EXPECT_EQ(names(top), (std::vector<std::string>{"Home", "Desktop", "Computer"}));
    EXPECT_EQ(top[0].path, home.path());
    EXPECT_TRUE(top[0].hasSubfolders);
    EXPECT_TRUE(top[2].isVirtual());

    // Without a desktop folder the entry is left out.
    EXPECT_EQ(names(FolderNamespace(home.path(), home.file("None"), "/nonexistent").topLevel()),
              (std::vector<std::string>{"Home", "Computer"}));
}

TEST(FolderNamespaceTest, ChildrenAreSubfoldersInNameOrderHiddenIncludedFilesLeftOut) {
    TempFolder home;
    for (const char* folder : {"beta", "Alpha", ".hidden", "gamma/inner"}) fs::create_directories(home.file(folder));
    std::ofstream(home.file("file.txt")) << "x";
    const FolderNamespace folders(home.path(), "", "/nonexistent");
    const auto children = folders.children(folders.topLevel()[0]);
    EXPECT_EQ(names(children), (std::vector<std::string>{".hidden", "Alpha", "beta", "gamma"}));
    EXPECT_FALSE(children[1].hasSubfolders);
    EXPECT_TRUE(children[3].hasSubfolders);
    EXPECT_EQ(children[3].path, home.file("gamma"));
    // A folder that cannot be read has no children.
    EXPECT_TRUE(folders.children(FolderEntry{"x", home.file("missing")}).empty());
}

TEST(FolderNamespaceTest, ComputerHoldsTheRootAndMountedVolumesFromTheMountTable) {
    TempFolder home;
    fs::create_directories(home.file("my disk"));
    std::ofstream(home.file("mounts")) << "proc /proc proc rw 0 0\n"
                                       << "/dev/sda1 / ext4 rw 0 0\n"
                                       << "/dev/sdb1 " << home.path() << "/my\\040disk vfat rw 0 0\n"
                                       << "/dev/sdc1 /nonexistent/volume ext4 rw 0 0\n";
    const FolderNamespace folders(home.path(), "", home.file("mounts"));
    const auto volumes = folders.children(folders.topLevel().back());
    ASSERT_EQ(volumes.size(), 2u);
    EXPECT_EQ(volumes[0].path, "/");
    EXPECT_EQ(volumes[1].path, home.file("my disk"));
}

TEST(FolderNamespaceTest, PathRules) {
    EXPECT_EQ(FolderNamespace::normalize("/music/"), "/music");
    EXPECT_EQ(FolderNamespace::normalize("/"), "/");
    EXPECT_EQ(FolderNamespace::normalize("/Music"), "/Music");
    EXPECT_TRUE(FolderNamespace::contains("/", "/tmp"));
    EXPECT_TRUE(FolderNamespace::contains("/home/a", "/home/a/b"));
    EXPECT_TRUE(FolderNamespace::contains("/home/a", "/home/a"));
    EXPECT_FALSE(FolderNamespace::contains("/home/a", "/home/ab"));
    EXPECT_FALSE(FolderNamespace::contains("/home/A", "/home/a/b"));
    EXPECT_FALSE(FolderNamespace::contains("", "/home"));
    EXPECT_EQ(FolderNamespace::parentOf("/home/a"), "/home");
    EXPECT_EQ(FolderNamespace::parentOf("/home"), "/");
    EXPECT_EQ(FolderNamespace::parentOf("/"), "");
    EXPECT_EQ(FolderNamespace::nameOf("/home/a"), "a");
    EXPECT_EQ(FolderNamespace::join("/", "new"), "/new");
    EXPECT_EQ(FolderNamespace::join("/home", "new"), "/home/new");
}
