#include "player/PlaylistQueue.h"

#include "base/FileError.h"
#include "base/FileHandle.h"
#include "base/ReplacingFile.h"
#include "base/TextFormat.h"
#include "base/Utf8Text.h"

#include <algorithm>
#include <cctype>
#include <string_view>
#include <sys/stat.h>

namespace {

// Playlists opened inside playlists: deeper chains are not followed.
constexpr std::size_t kMaxNesting = 8;

bool isRegularFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// File names are case-sensitive, but "LIST.M3U" is a playlist all the same.
bool namesPlaylist(std::string_view text) {
    constexpr std::string_view kExtension = ".m3u";
    const auto it = std::search(text.begin(), text.end(), kExtension.begin(), kExtension.end(),
                                [](char a, char b) {
                                    return std::tolower(static_cast<unsigned char>(a)) == b;
                                });
    return it != text.end();
}

std::string afterLast(const std::string& text, char separator) {
    const std::size_t at = text.rfind(separator);
    return at == std::string::npos ? text : text.substr(at + 1);
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The three ways an address can be written: "address | comment" (from the Add URL dialog),
// "comment SongURL=address::more" and the bare address.
CTwoStrings urlEntry(const std::string& text) {
    const std::size_t bar = text.find('|');
    if (bar != std::string::npos) {
        const std::size_t comment = text.find_first_not_of(" \t\r\n\f\v", bar + 1);
        return {comment == std::string::npos ? std::string() : text.substr(comment), text.substr(0, bar)};
    }
    constexpr std::string_view kSongUrl = "SongURL=";
    const std::size_t songUrl = text.find(kSongUrl);
    if (songUrl != std::string::npos) {
        std::string location = text.substr(songUrl + kSongUrl.size());
        const std::size_t more = location.find("::");
        if (more != std::string::npos) location.erase(more);
        return {text.substr(0, songUrl), location};
    }
    return {afterLast(text, '/'), text};
}

// Counts a playlist as open while it is read, however its reading ends.
class OpenPlaylist {
public:
    explicit OpenPlaylist(std::size_t& depth) : depth_(depth) { ++depth_; }
    ~OpenPlaylist() { --depth_; }
    OpenPlaylist(const OpenPlaylist&) = delete;
    OpenPlaylist& operator=(const OpenPlaylist&) = delete;

private:
    std::size_t& depth_;
};

// What a playlist line names: absolute paths and addresses as they stand, other names inside
// the playlist's folder.
std::string locationOfLine(const std::string& line, const std::string& folder) {
    if (line.front() == '/' || line.find("://") != std::string::npos) return line;
    return folder + line;
}

// A saved line relative to the playlist's folder must load back as the same location: not one
// that reads as an absolute path ("folder//a.mp3"), a comment ("#1.mp3"), an address ("x://y")
// or a byte order mark. The whole location is written then.
bool readsBackRelative(std::string_view relative) {
    return relative.front() != '/' && relative.front() != '#' && relative.find("://") == std::string_view::npos &&
           relative.substr(0, 3) != "\xEF\xBB\xBF";
}

} // namespace

void PlaylistQueue::append(CTwoStrings entry) {
    ++queuedDisplays_[entry.display];
    entries_.push_back(std::move(entry));
}

bool PlaylistQueue::addLocation(const std::string& text) {
    const std::size_t before = entries_.size();
    if (namesPlaylist(text)) {
        loadPlaylist(text);
        return entries_.size() > before;
    }
    CTwoStrings entry;
    if (isRegularFile(text)) {
        entry = {afterLast(text, '/'), text};
    } else if (text.find("http://") != std::string::npos) {
        entry = urlEntry(text);
    } else {
        return false;
    }
    // "| comment http://..." names no place to play from.
    if (entry.display.empty() || entry.location.empty() || isQueued(entry.display)) return false;
    append(std::move(entry));
    return true;
}

bool PlaylistQueue::loadPlaylist(const std::string& path) {
    if (!isRegularFile(path)) return false;
    const std::optional<FileIdentity> identity = FileIdentity::of(path);
    if (!identity) return false;
    if (openDepth_ > 0) return loadNested(path, *identity);
    loadedPlaylists_.clear();
    entriesBeforeLoad_ = entries_.size();
    loadMessage_.clear();
    return loadNested(path, *identity);
}

bool PlaylistQueue::loadNested(const std::string& path, const FileIdentity& identity) {
    if (openDepth_ >= kMaxNesting ||
        std::find(loadedPlaylists_.begin(), loadedPlaylists_.end(), identity) != loadedPlaylists_.end())
        return false;
    FileHandle file;
    if (!file.open(path, FileHandle::Mode::Read)) return false;
    loadedPlaylists_.push_back(identity);
    const OpenPlaylist reading(openDepth_);
    const std::size_t before = entries_.size();
    try {
        readLines(file, folderOf(path));
    } catch (const FileError&) {
        // A playlist that could not be read to its end adds nothing (the entries of playlists
        // it named included): a half-read list would look complete in the box.
        while (entries_.size() > before) {
            forget(entries_.back().display);
            entries_.pop_back();
        }
        return false;
    }
    return true;
}

// A load stops adding once it has brought MaxEntriesPerLoad entries, and says so once.
bool PlaylistQueue::entryLimitReached() {
    if (entries_.size() - entriesBeforeLoad_ < MaxEntriesPerLoad) return false;
    if (loadMessage_.empty())
        loadMessage_ = TextFormat::format("The playlist holds more than %u entries: the rest was not loaded",
                                          static_cast<unsigned>(MaxEntriesPerLoad));
    return true;
}

void PlaylistQueue::readLines(FileHandle& file, const std::string& folder) {
    std::string pending;
    bool firstLine = true;
    std::vector<char> buffer(64 * 1024);
    for (;;) {
        const std::size_t got = file.read(buffer.data(), buffer.size());
        // The bytes kept from the last read hold no line end: look only at the new ones, so a
        // line of any length costs one pass.
        std::size_t scanFrom = pending.size();
        pending.append(buffer.data(), got);
        std::size_t start = 0;
        for (std::size_t end; (end = pending.find('\n', scanFrom)) != std::string::npos; scanFrom = start) {
            if (entryLimitReached()) return;
            addLine(std::string_view(pending).substr(start, end - start), folder, firstLine);
            firstLine = false;
            start = end + 1;
        }
        pending.erase(0, start);
        if (got < buffer.size()) break;
    }
    if (!pending.empty() && !entryLimitReached()) addLine(pending, folder, firstLine);
}

void PlaylistQueue::addLine(std::string_view line, const std::string& folder, bool firstLine) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    // Files saved as "UTF-8 with signature" start with a byte order mark.
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (firstLine && line.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        line.remove_prefix(kByteOrderMark.size());
    if (line.empty() || line.front() == '#') return;
    addLocation(locationOfLine(Utf8Text::fromLegacy(line), folder));
}

bool PlaylistQueue::save(const std::string& path, const std::string& folder, std::string& error) const {
    std::string base = folder;
    if (!base.empty() && base.back() != '/') base += '/';
    std::string text;
    for (const CTwoStrings& entry : entries_) {
        const std::string& location = entry.location;
        const bool underFolder = !base.empty() && location.size() > base.size() &&
                                 location.compare(0, base.size(), base) == 0;
        const std::string_view relative = std::string_view(location).substr(underFolder ? base.size() : 0);
        text += underFolder && readsBackRelative(relative) ? relative : std::string_view(location);
        text += "\r\n";
    }

    ReplacingFile target;
    if (!target.create(path)) {
        error = "Cannot save the playlist " + path + ": " + FileError::describe(target.errorNumber());
        return false;
    }
    try {
        target.file().write(text.data(), text.size());
        target.commit(true);
    } catch (const FileError& failure) {
        error = "Cannot save the playlist " + path + ": " + failure.description();
        return false;
    }
    return true;
}

std::optional<CTwoStrings> PlaylistQueue::takeFirst() {
    if (entries_.empty()) return std::nullopt;
    CTwoStrings first = std::move(entries_.front());
    entries_.erase(entries_.begin());
    forget(first.display);
    return first;
}

bool PlaylistQueue::moveToFront(const std::string& display) {
    const auto it = find(display);
    if (it == entries_.end()) return false;
    std::rotate(entries_.begin(), it, it + 1);
    return true;
}

bool PlaylistQueue::remove(const std::string& display) {
    const auto it = find(display);
    if (it == entries_.end()) return false;
    forget(it->display);
    entries_.erase(it);
    return true;
}

void PlaylistQueue::clear() {
    entries_.clear();
    queuedDisplays_.clear();
}

bool PlaylistQueue::empty() const {
    return entries_.empty();
}

std::size_t PlaylistQueue::size() const {
    return entries_.size();
}

const std::vector<CTwoStrings>& PlaylistQueue::entries() const {
    return entries_;
}

bool PlaylistQueue::isQueued(const std::string& display) const {
    return queuedDisplays_.contains(display);
}

void PlaylistQueue::forget(const std::string& display) {
    const auto it = queuedDisplays_.find(display);
    if (it != queuedDisplays_.end() && --it->second == 0) queuedDisplays_.erase(it);
}

std::vector<CTwoStrings>::iterator PlaylistQueue::find(const std::string& display) {
    return std::find_if(entries_.begin(), entries_.end(),
                        [&](const CTwoStrings& entry) { return entry.display == display; });
}
