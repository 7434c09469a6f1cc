// libFuzzer target for the M3U playlist loader. The input becomes up to four playlists that
// may name each other ("list.m3u", "b.m3u", "sub/c.m3u", "D.M3U"), beside a few song files;
// "@@" in a playlist stands for the scratch folder, so that absolute paths can be written.
// Loading must end (loops and deep nesting are cut), give unique non-empty entries (songs naming
// files), lose no song line of the outer playlist, and give the same queue twice.
// Saving a queue of songs and loading the saved playlist must give the same queue.

#include "base/Utf8Text.h"
#include "fuzz/FuzzScratch.h"
#include "player/PlaylistQueue.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

const char* const kPlaylists[] = {"list.m3u", "b.m3u", "sub/c.m3u", "D.M3U"};
const char* const kSongs[] = {"a.mp3", "b c.mp3", "\xC3\xBC.mp3", "sub/x.mp3", "#1.mp3", "sub/y.MP3"};

bool isRegularFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool namesPlaylist(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text.find(".m3u") != std::string::npos;
}

std::string replaceAll(std::string_view text, std::string_view from, const std::string& to) {
    std::string out;
    for (std::size_t at; (at = text.find(from)) != std::string_view::npos; text.remove_prefix(at + from.size()))
        out.append(text.substr(0, at)).append(to);
    return out.append(text);
}

std::string displayOf(const std::string& location) {
    const std::size_t slash = location.rfind('/');
    return slash == std::string::npos ? location : location.substr(slash + 1);
}

// The song files that the lines of a playlist name directly (not through other playlists).
std::vector<std::string> songLines(const std::string& text, const std::string& folder) {
    std::vector<std::string> songs;
    std::size_t start = 0;
    for (bool first = true; start <= text.size(); first = false) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (first && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
        // A NUL ends the name the file system sees: such a line names no file of its own.
        if (line.empty() || line[0] == '#' || line.find('\0') != std::string::npos) continue;
        line = Utf8Text::fromLegacy(line);
        const std::string location = line[0] == '/' || line.find("://") != std::string::npos ? line : folder + line;
        if (!namesPlaylist(location) && isRegularFile(location)) songs.push_back(location);
    }
    return songs;
}

// A song's display is its file name. An address line's entry is taken as written ("a | b",
// "x SongURL=y"), so its location need not be an address; its display holds a '/' or differs.
bool isSong(const CTwoStrings& entry) {
    return entry.location.find("http://") == std::string::npos && entry.display == displayOf(entry.location);
}

void checkEntries(const std::vector<CTwoStrings>& entries) {
    std::set<std::string> displays;
    for (const CTwoStrings& entry : entries) {
        FUZZ_CHECK(!entry.display.empty());
        FUZZ_CHECK(displays.insert(entry.display).second);
        FUZZ_CHECK(!namesPlaylist(entry.location));
        if (isSong(entry)) FUZZ_CHECK(isRegularFile(entry.location));
    }
}

std::vector<CTwoStrings> songsOf(const std::vector<CTwoStrings>& entries) {
    std::vector<CTwoStrings> songs;
    for (const CTwoStrings& entry : entries)
        if (isSong(entry)) songs.push_back(entry);
    return songs;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string folder = FuzzScratch::freshFolder("playlist");
    std::filesystem::create_directories(folder + "/sub");
    for (const char* song : kSongs) FuzzScratch::write(folder + "/" + song, "ID3");
    const auto pieces = FuzzScratch::split(std::string_view(reinterpret_cast<const char*>(data), size), "#LIST#", 4);
    for (std::size_t i = 0; i < pieces.size(); ++i)
        FuzzScratch::write(folder + "/" + kPlaylists[i], replaceAll(pieces[i], "@@", folder));
    const std::string outer = folder + "/list.m3u";

    PlaylistQueue queue;
    FUZZ_CHECK(queue.loadPlaylist(outer));
    checkEntries(queue.entries());
    PlaylistQueue again;
    again.loadPlaylist(outer);
    FUZZ_CHECK(again.entries() == queue.entries());

    // A song line either added its song or found an entry of that name already queued.
    for (const std::string& song : songLines(FuzzScratch::read(outer), folder + "/")) {
        const std::string display = displayOf(song);
        FUZZ_CHECK(std::any_of(queue.entries().begin(), queue.entries().end(),
                               [&](const CTwoStrings& entry) { return entry.display == display; }));
    }

    // Only songs: a saved address loses its display text, which may then shadow a song's.
    if (songsOf(queue.entries()).size() != queue.size()) return 0;
    const std::string saved = folder + "/saved.m3u";
    std::string error;
    FUZZ_CHECK(queue.save(saved, folder, error));
    PlaylistQueue reloaded;
    FUZZ_CHECK(reloaded.loadPlaylist(saved));
    FUZZ_CHECK(reloaded.entries() == queue.entries());
    return 0;
}
