#include "player/PlaylistQueue.h"

#include "support/FileBytes.h"
#include "support/FileSizeLimit.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

using Entries = std::vector<CTwoStrings>;

// A song file: the queue only asks whether it exists.
std::string song(const TempFolder& folder, const std::string& name) {
    const std::string path = folder.file(name);
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    FileBytes::writeText(path, "ID3");
    return path;
}

Entries loaded(const std::string& playlist) {
    PlaylistQueue queue;
    EXPECT_TRUE(queue.loadPlaylist(playlist)) << playlist;
    return queue.entries();
}

} // namespace

TEST(PlaylistQueueTest, ReadsRelativeAbsoluteAndAddressLinesAndSkipsComments) {
    TempFolder lists;
    TempFolder elsewhere;
    const std::string near = song(lists, "near.mp3");
    const std::string far = song(elsewhere, "far.mp3");
    // CR LF and LF mixed, a signature before the header, no line end after the last line.
    FileBytes::writeText(lists.file("mix.m3u"),
                         "\xEF\xBB\xBF#EXTM3U\r\n#EXTINF:185,Artist - Near\r\nnear.mp3\r\n"
                         "\r\nmissing.mp3\n#EXTINF:-1,Far\n" + far + "\nhttp://radio.example/live/stream.mp3");
    EXPECT_EQ(loaded(lists.file("mix.m3u")), (Entries{{"near.mp3", near},
                                                      {"far.mp3", far},
                                                      {"stream.mp3", "http://radio.example/live/stream.mp3"}}));
}

TEST(PlaylistQueueTest, ReadsLatin1LinesAndLinesOfAnyLength) {
    TempFolder lists;
    const std::string umlaut = song(lists, "M\xC3\xBCller.mp3"); // "Müller" named in UTF-8 on disk
    std::string deep;
    for (char letter : std::string("abcde")) deep += std::string(60, letter) + "/";
    const std::string longSong = song(lists, deep + "long.mp3");
    ASSERT_GT(longSong.size(), 255u);
    // A long comment first, so that the next line runs across the reader's 64 KiB chunks.
    const std::string comment = "#" + std::string(65530, 'x') + "\r\n";
    FileBytes::writeText(lists.file("old.m3u"),
                         comment + "M\xFCller.mp3\r\n" + deep + "long.mp3\r\n" + longSong + "\r\n");
    EXPECT_EQ(loaded(lists.file("old.m3u")),
              (Entries{{"M\xC3\xBCller.mp3", umlaut}, {"long.mp3", longSong}}));
}

TEST(PlaylistQueueTest, NestedPlaylistsEndOnLoopsAndAfterEightLevels) {
    TempFolder lists;
    const std::string a = song(lists, "a.mp3");
    const std::string b = song(lists, "b.mp3");
    FileBytes::writeText(lists.file("self.m3u"), "./self.m3u\r\na.mp3\r\nself.m3u\r\n");
    FileBytes::writeText(lists.file("ping.m3u"), "a.mp3\r\npong.M3U\r\n");
    FileBytes::writeText(lists.file("pong.M3U"), "ping.m3u\r\nb.mp3\r\n");
    EXPECT_EQ(loaded(lists.file("self.m3u")), (Entries{{"a.mp3", a}}));
    EXPECT_EQ(loaded(lists.file("ping.m3u")), (Entries{{"a.mp3", a}, {"b.mp3", b}}));

    // level1.m3u names song1.mp3 and level2.m3u, and so on down to level9.m3u.
    Entries firstEight;
    for (int level = 1; level <= 9; ++level) {
        const std::string name = "song" + std::to_string(level) + ".mp3";
        const std::string path = song(lists, name);
        if (level <= 8) firstEight.push_back({name, path});
        FileBytes::writeText(lists.file("level" + std::to_string(level) + ".m3u"),
                             name + "\r\nlevel" + std::to_string(level + 1) + ".m3u\r\n");
    }
    EXPECT_EQ(loaded(lists.file("level1.m3u")), firstEight);
    // The bound is per chain: after a deep load the next one starts at the top again.
    PlaylistQueue queue;
    queue.loadPlaylist(lists.file("level1.m3u"));
    queue.clear();
    EXPECT_TRUE(queue.addLocation(lists.file("level1.m3u")));
    EXPECT_EQ(queue.entries(), firstEight);
}

// Eight playlists that each name the next 30 times would mean 30^7 loads: each is read once.
TEST(PlaylistQueueTest, PlaylistsNamedManyTimesAreReadOnce) {
    TempFolder lists;
    Entries songs;
    for (int level = 1; level <= 8; ++level) {
        const std::string name = "song" + std::to_string(level) + ".mp3";
        songs.push_back({name, song(lists, name)});
        std::string text = name + "\n";
        for (int i = 0; i < 30; ++i) text += "list" + std::to_string(level + 1) + ".m3u\n";
        FileBytes::writeText(lists.file("list" + std::to_string(level) + ".m3u"), text);
    }
    EXPECT_EQ(loaded(lists.file("list1.m3u")), songs);
}

TEST(PlaylistQueueTest, ALoadStopsAtItsEntryLimitAndSaysSo) {
    TempFolder lists;
    std::string text;
    for (std::size_t i = 0; i <= PlaylistQueue::MaxEntriesPerLoad; ++i)
        text += "http://host/" + std::to_string(i) + ".mp3\n";
    FileBytes::writeText(lists.file("huge.m3u"), text);
    PlaylistQueue queue;
    queue.append({"playing", "/x/playing.mp3"}); // entries queued before do not count
    EXPECT_TRUE(queue.loadPlaylist(lists.file("huge.m3u")));
    EXPECT_EQ(queue.size(), PlaylistQueue::MaxEntriesPerLoad + 1);
    EXPECT_EQ(queue.entries().back().display, std::to_string(PlaylistQueue::MaxEntriesPerLoad - 1) + ".mp3");
    EXPECT_EQ(queue.loadMessage(), "The playlist holds more than 100000 entries: the rest was not loaded");
    FileBytes::writeText(lists.file("small.m3u"), "http://host/other.mp3\n");
    EXPECT_TRUE(queue.loadPlaylist(lists.file("small.m3u")));
    EXPECT_EQ(queue.loadMessage(), "");
}

TEST(PlaylistQueueTest, PlaylistsThatCannotBeReadAddNothing) {
    TempFolder lists;
    std::filesystem::create_directory(lists.file("folder.m3u"));
    // A file that opens and fails at its first read.
    std::filesystem::create_symlink("/proc/self/mem", lists.file("unreadable.m3u"));
    // A FIFO would block an open until some writer came.
    ASSERT_EQ(::mkfifo(lists.file("fifo.m3u").c_str(), 0600), 0);
    for (const std::string& path : {lists.file("missing.m3u"), lists.file("folder.m3u"), lists.file("unreadable.m3u"),
                                    lists.file("fifo.m3u")}) {
        PlaylistQueue queue;
        EXPECT_FALSE(queue.loadPlaylist(path)) << path;
        EXPECT_FALSE(queue.addLocation(path)) << path;
        EXPECT_TRUE(queue.empty()) << path;
    }
}

TEST(PlaylistQueueTest, AddLocationFormsOfFilesAndAddresses) {
    TempFolder folder;
    const std::string file = song(folder, "One Song.mp3");
    std::filesystem::create_directory(folder.file("sub"));
    struct Case {
        std::string text;
        std::optional<CTwoStrings> entry;
    };
    const Case cases[] = {
        {file, CTwoStrings{"One Song.mp3", file}},
        {"u | c", std::nullopt}, // no address, no file
        {"http://host/a.mp3 | c", CTwoStrings{"c", "http://host/a.mp3 "}},
        {"http://host/a.mp3|  \tMy Radio | late", CTwoStrings{"My Radio | late", "http://host/a.mp3"}},
        {"http://host/a.mp3 | ", std::nullopt}, // empty comment
        {"Radio One SongURL=http://host/one.mp3::42::x", CTwoStrings{"Radio One ", "http://host/one.mp3"}},
        {"Radio Two SongURL=http://host/two.mp3", CTwoStrings{"Radio Two ", "http://host/two.mp3"}},
        {"http://host/dir/three.mp3", CTwoStrings{"three.mp3", "http://host/dir/three.mp3"}},
        {"http://host/dir/", std::nullopt},
        {"| comment http://a/b.mp3", std::nullopt}, // a comment, but no address before the bar
        {folder.file("missing.mp3"), std::nullopt},
        {folder.file("sub"), std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) {
        PlaylistQueue queue;
        EXPECT_EQ(queue.addLocation(c.text), c.entry.has_value()) << c.text;
        EXPECT_EQ(queue.entries(), c.entry ? Entries{*c.entry} : Entries{}) << c.text;
    }
}

TEST(PlaylistQueueTest, AddLocationQueuesADisplayTextOnceButAppendDoesNot) {
    TempFolder one;
    TempFolder two;
    const std::string first = song(one, "same.mp3");
    PlaylistQueue queue;
    EXPECT_TRUE(queue.addLocation(first));
    EXPECT_FALSE(queue.addLocation(first));
    EXPECT_FALSE(queue.addLocation(song(two, "same.mp3"))); // another file, the same display text
    EXPECT_TRUE(queue.addLocation(song(two, "Same.mp3")));  // compared case-sensitively
    queue.append({"same.mp3", first});
    EXPECT_EQ(queue.size(), 3u);
}

TEST(PlaylistQueueTest, SaveWritesRelativeAndAbsoluteLinesThatLoadBack) {
    TempFolder folder;
    TempFolder elsewhere;
    const std::string inside = song(folder, "a.mp3");
    const std::string below = song(folder, "sub/b.mp3");
    const std::string outside = song(elsewhere, "x2/d.mp3");
    const std::string sibling = song(elsewhere, "x/c.mp3");
    PlaylistQueue queue;
    for (const CTwoStrings& entry : Entries{{"a.mp3", inside},
                                            {"b.mp3", below},
                                            {"d.mp3", outside},
                                            {"c.mp3", sibling},
                                            {"radio", "http://host/live "}})
        queue.append(entry);

    std::string error;
    ASSERT_TRUE(queue.save(folder.file("saved.m3u"), folder.path() + "/", error)) << error;
    EXPECT_EQ(FileBytes::readText(folder.file("saved.m3u")),
              "a.mp3\r\nsub/b.mp3\r\n" + outside + "\r\n" + sibling + "\r\nhttp://host/live \r\n");
    // A folder without its closing separator is still a whole folder: ".../x" is no prefix of ".../x2/".
    ASSERT_TRUE(queue.save(folder.file("again.m3u"), elsewhere.path() + "/x", error)) << error;
    EXPECT_EQ(FileBytes::readText(folder.file("again.m3u")),
              inside + "\r\n" + below + "\r\n" + outside + "\r\nc.mp3\r\nhttp://host/live \r\n");

    EXPECT_EQ(loaded(folder.file("saved.m3u")), (Entries{{"a.mp3", inside},
                                                          {"b.mp3", below},
                                                          {"d.mp3", outside},
                                                          {"c.mp3", sibling},
                                                          {"live ", "http://host/live "}}));
}

// Songs under the folder whose relative line would load as something else keep their whole path.
TEST(PlaylistQueueTest, SaveWritesTheWholeLocationWhereTheRelativeLineWouldReadOtherwise) {
    TempFolder folder;
    const Entries songs = {{"a.mp3", folder.path() + "//" + "a.mp3"},           // would read as "/a.mp3"
                           {"#1.mp3", song(folder, "#1.mp3")},                 // would read as a comment
                           {"y.mp3", folder.path() + "/x://y.mp3"},            // would read as an address
                           {"\xEF\xBB\xBF" "b.mp3", song(folder, "\xEF\xBB\xBF" "b.mp3")}}; // a signature
    song(folder, "a.mp3");
    song(folder, "x:/y.mp3");
    for (const auto& order : {songs, Entries(songs.rbegin(), songs.rend())}) {
        PlaylistQueue queue;
        for (const CTwoStrings& entry : order) queue.append(entry);
        std::string error;
        ASSERT_TRUE(queue.save(folder.file("saved.m3u"), folder.path(), error)) << error;
        EXPECT_EQ(loaded(folder.file("saved.m3u")), order);
    }
}

TEST(PlaylistQueueTest, AFailedSaveLeavesTheOldPlaylistAndNoTemporaryFile) {
    TempFolder folder;
    PlaylistQueue queue;
    queue.append({"a.mp3", std::string(4096, 'a')});
    std::string error;
    EXPECT_FALSE(queue.save(folder.file("missing/list.m3u"), folder.path() + "/", error));
    EXPECT_NE(error.find("missing/list.m3u"), std::string::npos) << error;

    // A write that fails half-way: the file size limit stops it (as a full disk would).
    FileBytes::writeText(folder.file("list.m3u"), "old.mp3\r\n");
    error.clear();
    bool saved = true;
    {
        FileSizeLimit limit(1024);
        saved = queue.save(folder.file("list.m3u"), folder.path() + "/", error);
    }
    EXPECT_FALSE(saved);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(FileBytes::readText(folder.file("list.m3u")), "old.mp3\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

TEST(PlaylistQueueTest, MoveToFrontRemoveAndTakeFirstFindTheFirstEntryOfADisplayText) {
    PlaylistQueue queue;
    for (const CTwoStrings& entry : Entries{{"a", "1"}, {"b", "2"}, {"c", "3"}, {"b", "4"}})
        queue.append(entry);
    EXPECT_TRUE(queue.moveToFront("c"));
    EXPECT_TRUE(queue.remove("b"));
    EXPECT_FALSE(queue.moveToFront("z"));
    EXPECT_FALSE(queue.remove("z"));
    EXPECT_EQ(queue.entries(), (Entries{{"c", "3"}, {"a", "1"}, {"b", "4"}}));
    EXPECT_TRUE(queue.moveToFront("b"));
    EXPECT_EQ(queue.takeFirst(), (CTwoStrings{"b", "4"}));
    EXPECT_EQ(queue.takeFirst(), (CTwoStrings{"c", "3"}));
    EXPECT_EQ(queue.takeFirst(), (CTwoStrings{"a", "1"}));
    EXPECT_EQ(queue.takeFirst(), std::nullopt);
    EXPECT_TRUE(queue.empty());
}
