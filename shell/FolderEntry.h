#pragma once

#include <string>

// One folder of the folder namespace. A virtual folder ("Computer") has no file-system path.
struct FolderEntry {
    enum class Kind { Folder, Computer };

    std::string name;
    std::string path;
    Kind kind = Kind::Folder;
    bool hasSubfolders = false;

    bool isVirtual() const { return path.empty(); }
};
