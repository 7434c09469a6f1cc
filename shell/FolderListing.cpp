#include "shell/FolderListing.h"

#include <algorithm>
#include <dirent.h>
#include <memory>
#include <sys/stat.h>

namespace {

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

} // namespace

std::string FolderListing::lowerCase(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::optional<LVFILEDATA> FolderListing::details(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return std::nullopt;
    LVFILEDATA row;
    row.path = path;
    row.name = path.substr(path.rfind('/') + 1);
    row.size = static_cast<std::uint64_t>(info.st_size);
    row.sizeText = std::to_string(row.size);
    row.modified = info.st_mtime;
    if (!(info.st_mode & S_IWUSR)) {
        row.fileAttributes |= ReadOnly;
        row.attributeLetters = "R";
    }
    return row;
}

std::optional<std::vector<LVFILEDATA>> FolderListing::list(const std::string& folder,
                                                           const std::string& filter) {
    std::unique_ptr<DIR, DirCloser> dir(::opendir(folder.c_str()));
    if (!dir) return std::nullopt;
    const std::string wanted = lowerCase(filter);
    const std::string prefix = folder.empty() || folder.back() == '/' ? folder : folder + "/";
    std::vector<LVFILEDATA> rows;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (name.empty() || name.front() == '.') continue;
        if (!wanted.empty() && lowerCase(name).find(wanted) == std::string::npos) continue;
        if (auto row = details(prefix + name)) rows.push_back(std::move(*row));
    }
    sort(rows, Column::Name, false);
    return rows;
}

void FolderListing::sort(std::vector<LVFILEDATA>& rows, Column column, bool reversed) {
    auto before = [column](const LVFILEDATA& a, const LVFILEDATA& b) {
        switch (column) {
        case Column::Size: return a.size > b.size;
        case Column::Modified: return a.modified > b.modified;
        case Column::Name: break;
        }
        return lowerCase(a.name) < lowerCase(b.name);
    };
    std::stable_sort(rows.begin(), rows.end(),
                     [&](const LVFILEDATA& a, const LVFILEDATA& b) { return reversed ? before(b, a) : before(a, b); });
}

std::string FolderListing::nameTitle(const std::string& filter) {
    return filter.empty() ? "Name" : "Name - Filter: *" + filter;
}
