#include "shell/FolderNamespace.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <strings.h>

namespace fs = std::filesystem;

namespace {

// The mount table writes blanks, tabs and backslashes in paths as octal escapes ("\040").
std::string unescapeMountPath(const std::string& field) {
    std::string path;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && std::isdigit(static_cast<unsigned char>(field[i + 1]))) {
            path += static_cast<char>(std::stoi(field.substr(i + 1, 3), nullptr, 8));
            i += 3;
        } else {
            path += field[i];
        }
    }
    return path;
}

bool isDirectory(const fs::directory_entry& entry) {
    std::error_code error;
    return entry.is_directory(error);
}

void sortByName(std::vector<FolderEntry>& entries) {
    std::sort(entries.begin(), entries.end(), [](const FolderEntry& a, const FolderEntry& b) {
        const int folded = strcasecmp(a.name.c_str(), b.name.c_str());
        return folded != 0 ? folded < 0 : a.name < b.name;
    });
}

}  // namespace

FolderNamespace::FolderNamespace(std::string homeFolder, std::string desktopFolder, std::string mountTable)
    : home_(normalize(homeFolder)), desktop_(normalize(desktopFolder)), mountTable_(std::move(mountTable)) {}

std::vector<FolderEntry> FolderNamespace::topLevel() const {
    std::vector<FolderEntry> entries{folderEntry("Home", home_)};
    std::error_code error;
    if (!desktop_.empty() && desktop_ != home_ && fs::is_directory(desktop_, error))
        entries.push_back(folderEntry("Desktop", desktop_));
    entries.push_back(FolderEntry{"Computer", "", FolderEntry::Kind::Computer, true});
    return entries;
}

std::vector<FolderEntry> FolderNamespace::children(const FolderEntry& parent) const {
    if (parent.kind == FolderEntry::Kind::Computer) return volumes();
    std::vector<FolderEntry> entries;
    std::error_code error;
    for (fs::directory_iterator it(parent.path, error), end; !error && it != end; it.increment(error)) {
        if (isDirectory(*it)) entries.push_back(folderEntry(it->path().filename().string(), it->path().string()));
    }
    sortByName(entries);
    return entries;
}

std::vector<FolderEntry> FolderNamespace::volumes() const {
    std::vector<FolderEntry> entries{folderEntry("/", "/")};
    std::ifstream table(mountTable_);
    std::string line;
    std::vector<std::string> seen{"/"};
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::string device, mountPoint;
        if (!(fields >> device >> mountPoint) || device.rfind("/dev/", 0) != 0) continue;
        const std::string path = unescapeMountPath(mountPoint);
        if (std::find(seen.begin(), seen.end(), path) != seen.end()) continue;
        seen.push_back(path);
        std::error_code error;
        if (fs::is_directory(path, error)) entries.push_back(folderEntry(path, path));
    }
    std::sort(entries.begin() + 1, entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.path < b.path; });
    return entries;
}

FolderEntry FolderNamespace::folderEntry(std::string name, const std::string& path) {
    return FolderEntry{std::move(name), path, FolderEntry::Kind::Folder, hasSubfolders(path)};
}

bool FolderNamespace::hasSubfolders(const std::string& path) {
    std::error_code error;
    for (fs::directory_iterator it(path, error), end; !error && it != end; it.increment(error))
        if (isDirectory(*it)) return true;
    return false;
}

std::string FolderNamespace::normalize(const std::string& path) {
    std::string result = path;
    while (result.size() > 1 && result.back() == '/') result.pop_back();
    return result;
}

bool FolderNamespace::contains(const std::string& ancestor, const std::string& path) {
    if (ancestor.empty()) return false;
    if (ancestor == path || ancestor == "/") return path.rfind(ancestor, 0) == 0;
    return path.size() > ancestor.size() && path.compare(0, ancestor.size(), ancestor) == 0 &&
           path[ancestor.size()] == '/';
}

std::string FolderNamespace::parentOf(const std::string& path) {
    const auto last = path.find_last_of('/');
    if (last == std::string::npos || path == "/") return {};
    return last == 0 ? "/" : path.substr(0, last);
}

std::string FolderNamespace::nameOf(const std::string& path) {
    const auto last = path.find_last_of('/');
    return last == std::string::npos ? path : path.substr(last + 1);
}

std::string FolderNamespace::join(const std::string& folder, const std::string& name) {
    return folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
}
