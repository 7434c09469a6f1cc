#pragma once

#include "base/FileIdentity.h"
#include "player/CTwoStrings.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class FileHandle;

// The Player's queue of entries waiting to be played (UTF-8 texts).
class PlaylistQueue {
public:
    // Appends without the duplicate check (the Player's Play command, the file list's double click).
    void append(CTwoStrings entry);
    // "Add location": a text containing ".m3u" loads that playlist (nested loads share one bound);
    // an existing file, or an http:// text in its three forms, appends (display, location) unless
    // the display is empty or already queued. Returns true when the queue grew.
    bool addLocation(const std::string& text);
    // Reads an M3U playlist: comment lines ("#...", so #EXTM3U/#EXTINF) skipped, UTF-8 first and
    // Latin-1 when a line is not valid UTF-8, lines of any length, CR LF or LF; a line that is an
    // absolute path or holds "://" is taken unchanged, any other is prefixed with the playlist's
    // folder; each goes through addLocation. Nested playlists at most 8 deep, each playlist read
    // at most once per outermost load (so no loop, and no explosion of lists that name each
    // other many times), and at most MaxEntriesPerLoad entries per outermost load; the rest is
    // left out and loadMessage() says so. A file that cannot be opened adds nothing. Returns
    // false then.
    bool loadPlaylist(const std::string& path);
    // What the last outermost load left out, for a status pane; empty when it loaded everything.
    const std::string& loadMessage() const { return loadMessage_; }
    static constexpr std::size_t MaxEntriesPerLoad = 100'000;
    // Writes each location in queue order, one per line ending in CR LF: relative to `folder`
    // (a folder path ending in '/') when the location lies under it, else the whole location.
    // Nothing else (no header, no display texts). Writes through ReplacingFile so a failed write
    // leaves an existing playlist intact. Returns false with `error` set on failure (one line for a
    // status pane: what failed, the file and the system's description).
    bool save(const std::string& path, const std::string& folder, std::string& error) const;
    std::optional<CTwoStrings> takeFirst();
    bool moveToFront(const std::string& display);   // false when no entry has that display text
    bool remove(const std::string& display);        // the first entry with that display text
    void clear();
    bool empty() const;
    std::size_t size() const;
    const std::vector<CTwoStrings>& entries() const;

private:
    void readLines(FileHandle& file, const std::string& folder);
    void addLine(std::string_view line, const std::string& folder, bool firstLine);
    bool loadNested(const std::string& path, const FileIdentity& identity);
    bool entryLimitReached();
    bool isQueued(const std::string& display) const;
    void forget(const std::string& display);
    std::vector<CTwoStrings>::iterator find(const std::string& display);

    std::vector<CTwoStrings> entries_;
    // How many entries show each display text: the duplicate check of a long load stays linear.
    std::unordered_map<std::string, std::size_t> queuedDisplays_;
    // How many playlists are being read right now, one inside the other: bounds the nesting.
    std::size_t openDepth_ = 0;
    // Every playlist read since the outermost load began: each is read once.
    std::vector<FileIdentity> loadedPlaylists_;
    std::size_t entriesBeforeLoad_ = 0;
    std::string loadMessage_;
};
