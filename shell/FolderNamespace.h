#pragma once

#include "shell/FolderEntry.h"

#include <string>
#include <vector>

// The folders the directory tree shows: "Home", "Desktop" (when it exists) and a virtual
// "Computer" holding "/" and each mounted volume, each folder with its sub-folders (hidden ones
// included) in name order. Listing a folder never fails: one that cannot be read has no children.
class FolderNamespace {
public:
    FolderNamespace(std::string homeFolder, std::string desktopFolder, std::string mountTable = "/proc/self/mounts");

    std::vector<FolderEntry> topLevel() const;
    std::vector<FolderEntry> children(const FolderEntry& parent) const;

    // The path without a trailing separator, except for the root.
    static std::string normalize(const std::string& path);
    // Whether ancestor is path itself or one of the folders above it.
    static bool contains(const std::string& ancestor, const std::string& path);
    // The folder holding path ("/" for a folder directly under the root); empty for the root.
    static std::string parentOf(const std::string& path);
    // The text after the last separator.
    static std::string nameOf(const std::string& path);
    // folder and name joined by one separator.
    static std::string join(const std::string& folder, const std::string& name);

private:
    std::vector<FolderEntry> volumes() const;
    static FolderEntry folderEntry(std::string name, const std::string& path);
    static bool hasSubfolders(const std::string& path);

    std::string home_;
    std::string desktop_;
    std::string mountTable_;
};
