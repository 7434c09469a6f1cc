#include "metadata/CID3TagFile.h"

#include "base/FileError.h"
#include "base/ReplacingFile.h"
#include "support/TagBytes.h"
#include "support/FileBytes.h"
#include "support/FileSizeLimit.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct RecordingBoxes : MessageBoxSink {
    std::vector<std::string> shown;
    void showStopBox(const std::string& text) override { shown.push_back(text); }
};

// The analyser tree's read: Release, Reset, DetectTags, SetMode and Read in one call.
void examine(CID3TagFile& tags, const std::string& path) { tags.ReadTags(path); }

bool contains(const Bytes& haystack, const Bytes& needle) {
    return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end()) != haystack.end();
}

Bytes tail(const Bytes& bytes, std::size_t count) { return Bytes(bytes.end() - static_cast<std::ptrdiff_t>(count), bytes.end()); }

// A frame of a 2.2 tag: a three-letter id and a 3-byte size.
Bytes v22Frame(const std::string& id, const Bytes& payload) {
    return TagBytes::join({TagBytes::of(id), {0, 0, static_cast<std::uint8_t>(payload.size())}, payload});
}

class CID3TagFileTest : public ::testing::Test {
protected:
    std::string write(const Bytes& bytes, const std::string& name = "song.mp3") {
        const std::string path = folder.file(name);
        FileBytes::write(path, bytes);
        return path;
    }
    std::string readBack(const std::string& path) {
        examine(tags, path);
        return tags.Title();
    }
    std::size_t filesInFolder() const {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder.path()), {}));
    }

    TempFolder folder;
    RecordingBoxes boxes;
    CID3TagFile tags{boxes};
    const Bytes audio = TagBytes::mpegFrames(6);
};

TEST_F(CID3TagFileTest, DetectsWhichTagsTheFileCarries) {
    const Bytes v2 = TagBytes::tag(TagBytes::textFrame("TIT2", "A"));
    const Bytes v1 = TagBytes::v1("B", "", "", "", "", 0, 0);
    const struct {
        Bytes file;
        TagPresence presence;
        TagMode mode;       // the tag ReadTags reads
        const char* title;  // null: ReadTags finds no tag
    } cases[] = {
        {TagBytes::join({v2, audio, v1}), TagPresence::Both, TagMode::ModeV2, "A"},
        {TagBytes::join({v2, audio}), TagPresence::V2Only, TagMode::ModeV2, "A"},
        {TagBytes::join({audio, v1}), TagPresence::V1Only, TagMode::ModeV1, "B"},
        {audio, TagPresence::None, TagMode::ModeV1, nullptr},
        {TagBytes::of("ID"), TagPresence::None, TagMode::ModeV1, nullptr},
    };
    for (const auto& c : cases) {
        const std::string path = write(c.file);
        tags.Reset();
        EXPECT_EQ(tags.DetectTags(path), c.presence);
        EXPECT_EQ(tags.ReadTags(path), c.title != nullptr);
        EXPECT_EQ(tags.Presence(), c.presence);
        EXPECT_EQ(tags.Mode(), c.mode);
        EXPECT_EQ(tags.Title(), c.title ? c.title : "");
    }
    EXPECT_EQ(tags.DetectTags(folder.file("missing.mp3")), TagPresence::None);
    EXPECT_FALSE(tags.ReadTags(folder.file("missing.mp3")));
    EXPECT_EQ(tags.Presence(), TagPresence::None);
}

TEST_F(CID3TagFileTest, FileWithBothTagsIsReadFromItsV2Tag) {
    const std::string path = write(TagBytes::join({TagBytes::tag(TagBytes::textFrame("TIT2", "From V2")), audio,
                                                   TagBytes::v1("From V1", "", "", "", "", 3, 17)}));
    EXPECT_EQ(readBack(path), "From V2");
    EXPECT_EQ(tags.Track(), "");
}

TEST_F(CID3TagFileTest, ReadsTheV1LayoutWithTrailingSpacesAndTrackByte) {
    const std::string path = write(TagBytes::join(
        {audio, TagBytes::v1("Title  ", "Artist", "Album", "1999", std::string(29, 'c'), 0, 255)}));
    examine(tags, path);
    EXPECT_EQ(tags.Title(), "Title  ");
    EXPECT_EQ(tags.Artist(), "Artist");
    EXPECT_EQ(tags.Album(), "Album");
    EXPECT_EQ(tags.Year(), "1999");
    EXPECT_EQ(tags.Comment(), std::string(29, 'c'));
    EXPECT_EQ(tags.Track(), ""); // byte 125 holds a letter: ID3v1.0, no track
    EXPECT_EQ(tags.GenreNumber(), 255);
}

// ID3v1.1: a track exists only behind a zero byte at offset 125; a tag without one is ID3v1.0
// and its comment has all 30 bytes.
TEST_F(CID3TagFileTest, V1CommentAndTrackFollowTheV11Layout) {
    const std::string exactly29 = "A comment that is exactly 29!";
    const std::string thirty(30, 'g'); // 'g' is 103: once misread as a track
    const struct {
        std::string comment, track;
        std::uint8_t at125, at126;
        std::string commentRead, trackRead;
    } cases[] = {
        {exactly29, "7", 0, 7, exactly29.substr(0, 28), "7"},
        {exactly29, "", '!', 0, exactly29, ""},
        {thirty, "", 'g', 'g', thirty, ""},
        {thirty, "255", 0, 255, thirty.substr(0, 28), "255"},
        {"short", "3", 0, 3, "short", "3"},
        {"short", "", 0, 0, "short", "0"},
    };
    for (const auto& c : cases) {
        const std::string path = write(audio);
        examine(tags, path);
        tags.SetComment(c.comment);
        tags.SetTrack(c.track);
        ASSERT_TRUE(tags.WriteV1());
        const Bytes tag = tail(FileBytes::read(path), 128);
        EXPECT_EQ(tag[125], c.at125) << c.comment << "/" << c.track;
        EXPECT_EQ(tag[126], c.at126) << c.comment << "/" << c.track;
        examine(tags, path);
        EXPECT_EQ(tags.Comment(), c.commentRead) << c.comment << "/" << c.track;
        EXPECT_EQ(tags.Track(), c.trackRead) << c.comment << "/" << c.track;
    }
}

TEST_F(CID3TagFileTest, ReadsV2TextFramesAndGenreForms) {
    const struct {
        std::string tcon;
        std::string genreText;
        int genreNumber;
    } cases[] = {{"(17)Rock", "Rock", 17}, {"(17)", "", 17}, {"Rock", "Rock", 0}, {"(x)Odd", "Odd", 0},
                 {"Rock (live)", "Rock (live)", 0}}; // a parenthesis inside the name keeps it whole
    for (const auto& c : cases) {
        const Bytes frames = TagBytes::join({TagBytes::textFrame("TALB", "Album"), TagBytes::textFrame("TPE1", "Artist"),
                                             TagBytes::textFrame("TCON", c.tcon), TagBytes::textFrame("TRCK", "7/12"),
                                             TagBytes::textFrame("TYER", "2001"), TagBytes::textFrame("TLEN", "1000"),
                                             TagBytes::frame("TIT2", {0})});
        examine(tags, write(TagBytes::join({TagBytes::tag(frames, 3, 20), audio})));
        EXPECT_EQ(tags.GenreText(), c.genreText) << c.tcon;
        EXPECT_EQ(tags.GenreNumber(), c.genreNumber) << c.tcon;
        EXPECT_EQ(tags.Album(), "Album");
        EXPECT_EQ(tags.Artist(), "Artist");
        EXPECT_EQ(tags.Track(), "7/12");
        EXPECT_EQ(tags.Year(), "2001");
        EXPECT_EQ(tags.Length(), "1000");
        EXPECT_EQ(tags.Title(), "");
    }
}

TEST_F(CID3TagFileTest, DecodesEveryTextEncoding) {
    const struct {
        Bytes payload;
        std::string text;
    } cases[] = {
        {{0, 'G', 0xE4, 'r'}, "G\xC3\xA4r"},
        {{1, 0xFF, 0xFE, 'G', 0, 0xE4, 0, 0x3A, 0x04, 0, 0}, "G\xC3\xA4\xD0\xBA"},
        {{1, 0xFE, 0xFF, 0, 'G', 0xD8, 0x3D, 0xDE, 0x00}, "G\xF0\x9F\x98\x80"},
        {{2, 0, 'G', 0, 0xE4}, "G\xC3\xA4"},
        {{3, 'G', 0xC3, 0xA4, 0, 'x'}, "G\xC3\xA4"},
        {{1, 0xFF, 0xFE, 'G'}, ""}, // an odd byte is no character
    };
    for (const auto& c : cases) {
        examine(tags, write(TagBytes::join({TagBytes::tag(TagBytes::frame("TIT2", c.payload)), audio})));
        EXPECT_EQ(tags.Title(), c.text);
    }
}

TEST_F(CID3TagFileTest, FrameWalkSurvivesLargeFramesAndStopsAtBrokenOnes) {
    const Bytes picture = TagBytes::frame("APIC", Bytes(5000, 7));
    examine(tags, write(TagBytes::join({TagBytes::tag(TagBytes::join({picture, TagBytes::textFrame("TIT2", "Behind")})), audio})));
    EXPECT_EQ(tags.Title(), "Behind");

    Bytes runsPast = TagBytes::textFrame("TPE1", "Artist");
    runsPast[7] = 200; // claims more bytes than the tag holds
    examine(tags, write(TagBytes::join({TagBytes::tag(TagBytes::join({runsPast, TagBytes::textFrame("TIT2", "Hidden")})), audio})));
    EXPECT_EQ(tags.Artist(), "");
    EXPECT_EQ(tags.Title(), "");

    // A tag whose size reaches beyond the file reads what is there.
    Bytes truncated = TagBytes::tag(TagBytes::textFrame("TIT2", "Cut"), 3, 100);
    truncated.resize(30);
    examine(tags, write(truncated));
    EXPECT_EQ(tags.Title(), "Cut");
}

// Without a recording year (TDRC, TYER) the year is the release's, then the original release's;
// a rewrite keeps it in the frame it came from.
TEST_F(CID3TagFileTest, YearFallsBackToReleaseDates) {
    const struct {
        int version;
        Bytes frames;
        std::string year, keptIn;
    } cases[] = {
        {4, TagBytes::join({TagBytes::textFrame("TDRL", "2019-05-01", 4), TagBytes::textFrame("TDOR", "1975", 4)}), "2019-05-01", "TDRL"},
        {4, TagBytes::textFrame("TDOR", "1975", 4), "1975", "TDOR"},
        {4, TagBytes::join({TagBytes::textFrame("TDRL", "2019", 4), TagBytes::textFrame("TDRC", "2001", 4)}), "2001", "TDRC"},
        {3, TagBytes::textFrame("TORY", "1987"), "1987", "TORY"},
        {3, TagBytes::join({TagBytes::textFrame("TORY", "1987"), TagBytes::textFrame("TYER", "1990")}), "1990", "TYER"},
    };
    for (const auto& c : cases) {
        const std::string path = write(TagBytes::join({TagBytes::tag(TagBytes::join({TagBytes::textFrame("TIT2", "T", c.version), c.frames}), c.version), audio}));
        examine(tags, path);
        EXPECT_EQ(tags.Year(), c.year) << c.keptIn;
        EXPECT_EQ(tags.WriteTags().statusText(), std::string("ID3v1 and ID3v2 Tag updated"));
        const Bytes file = FileBytes::read(path);
        EXPECT_EQ(Bytes(file.end() - 128 + 93, file.end() - 128 + 97), TagBytes::of(c.year.substr(0, 4))) << c.keptIn;
        EXPECT_TRUE(contains(file, TagBytes::textFrame(c.keptIn, c.year, c.version))) << c.keptIn;
        examine(tags, path);
        EXPECT_EQ(tags.Year(), c.year) << c.keptIn;
    }
}

TEST_F(CID3TagFileTest, CommentIsTheFirstCommFrameWithoutDescription) {
    const Bytes described = TagBytes::frame("COMM", TagBytes::join({{0, 'e', 'n', 'g'}, TagBytes::of("iTunNORM"), {0}, TagBytes::of("x y")}));
    const Bytes plain = TagBytes::frame("COMM", TagBytes::join({{0, 'e', 'n', 'g', 0}, TagBytes::of("The comment")}));
    const Bytes utf16 = TagBytes::frame("COMM", {1, 'e', 'n', 'g', 0xFF, 0xFE, 0, 0, 0xFF, 0xFE, 'O', 0, 'k', 0});
    const struct {
        Bytes frames;
        std::string comment;
    } cases[] = {
        {TagBytes::join({described, plain}), "The comment"},
        {TagBytes::join({utf16, plain}), "Ok"},
        {TagBytes::join({TagBytes::frame("COMM", {0}), plain}), ""},
        {TagBytes::join({TagBytes::frame("COMM", {0, 'e', 'n'}), plain}), ""},
        {described, ""},
    };
    for (const auto& c : cases) {
        examine(tags, write(TagBytes::join({TagBytes::tag(c.frames), audio})));
        EXPECT_EQ(tags.Comment(), c.comment);
    }
}

TEST_F(CID3TagFileTest, UndoesUnsynchronisationAndSkipsTheExtendedHeader) {
    // "\xFF\x00" stands for 0xFF; the extended header of 2.3 is its size (6) and 6 bytes.
    const Bytes frames = TagBytes::join({{0, 0, 0, 6, 0, 0, 0, 0, 0, 0},
                                         {'T', 'I', 'T', '2', 0, 0, 0, 3, 0, 0, 0, 'a', 0xFF, 0x00}});
    examine(tags, write(TagBytes::join({TagBytes::tag(frames, 3, 0, 0xC0), audio})));
    EXPECT_EQ(tags.Title(), "a\xC3\xBF");
}

TEST_F(CID3TagFileTest, BuildsTheV2LayoutWithItsLengthFormula) {
    const std::string path = write(TagBytes::join({TagBytes::tag(TagBytes::textFrame("TIT2", "x")), audio}));
    examine(tags, path);
    for (auto set : {&CID3TagFile::SetTitle, &CID3TagFile::SetArtist, &CID3TagFile::SetAlbum, &CID3TagFile::SetYear,
                     &CID3TagFile::SetTrack, &CID3TagFile::SetGenreText, &CID3TagFile::SetComment})
        (tags.*set)("");
    const Bytes empty = *tags.BuildV2();
    ASSERT_EQ(tags.NewTagLength(), 145u);
    const Bytes expected = TagBytes::join({{'I', 'D', '3', 3, 0, 0, 0, 0, 1, 7}, {'C', 'O', 'M', 'M', 0, 0, 0, 5, 0, 0, 0, 'X', 'X', 'X', 0}});
    EXPECT_EQ(Bytes(empty.begin(), empty.begin() + 25), expected);
    EXPECT_EQ(std::count(empty.begin() + 25, empty.begin() + 145, 0), 120);

    tags.SetTitle(std::string(40, 'T'));
    tags.SetArtist("Artist");
    tags.SetAlbum("Album");
    tags.SetYear("2001");
    tags.SetTrack("12");
    tags.SetGenreText("Rock");
    tags.SetComment("Words");
    const std::size_t sum = 40 + 6 + 5 + 4 + 2 + 4 + 5;
    const Bytes full = *tags.BuildV2();
    EXPECT_EQ(tags.NewTagLength(), 2 * sum + 211);
    const Bytes tit2 = TagBytes::frame("TIT2", TagBytes::join({{0}, Bytes(40, 'T')}));
    EXPECT_TRUE(std::equal(tit2.begin(), tit2.end(), full.begin() + 10));
    EXPECT_TRUE(contains(full, TagBytes::frame("COMM", TagBytes::join({{0, 'X', 'X', 'X', 0}, TagBytes::of("Words")}))));
}

TEST_F(CID3TagFileTest, NoV2TagIsBuiltForAFileWithoutOne) {
    examine(tags, write(TagBytes::join({audio, TagBytes::v1("T", "", "", "", "", 0, 0)})));
    EXPECT_EQ(tags.BuildV2(), nullptr);
    // A 2.2 tag (three-letter ids, 3-byte sizes) is read, and its texts go into the ID3v1 tag;
    // the 2.2 tag itself is left as it is.
    auto v22Text = [&](const std::string& id, const std::string& text) { return v22Frame(id, TagBytes::join({{0}, TagBytes::of(text)})); };
    const Bytes frames = TagBytes::join({v22Text("TT2", "ab"), v22Text("TP1", "Artist"), v22Text("TAL", "Album"),
                                         v22Frame("PIC", Bytes(20, 0x11)), v22Text("TYE", "1999"), v22Text("TCO", "(17)"),
                                         v22Frame("COM", TagBytes::join({{0, 'e', 'n', 'g', 0}, TagBytes::of("Said")})),
                                         v22Text("TRK", "4/9")});
    const Bytes v22 = TagBytes::join({TagBytes::tag(frames, 2, 30), audio});
    const std::string path = write(v22);
    examine(tags, path);
    EXPECT_EQ(tags.TagVersion(), 2);
    EXPECT_EQ(tags.Title(), "ab");
    EXPECT_EQ(tags.Artist(), "Artist");
    EXPECT_EQ(tags.Album(), "Album");
    EXPECT_EQ(tags.Year(), "1999");
    EXPECT_EQ(tags.GenreNumber(), 17);
    EXPECT_EQ(tags.Comment(), "Said");
    EXPECT_EQ(tags.Track(), "4/9");
    EXPECT_EQ(tags.AudioStart(), v22.size() - audio.size());
    EXPECT_EQ(tags.BuildV2(), nullptr);
    EXPECT_EQ(tags.WriteTags().statusText(), std::string("ID3v1 Tag updated"));
    const Bytes written = FileBytes::read(path);
    EXPECT_EQ(Bytes(written.begin(), written.end() - 128), v22);
    EXPECT_EQ(tail(written, 128), TagBytes::v1("ab", "Artist", "Album", "1999", "Said", 4, 17));

    CID3TagFile fresh(boxes);
    EXPECT_EQ(fresh.BuildV2(), nullptr);
    EXPECT_FALSE(fresh.WriteV1());
    EXPECT_FALSE(fresh.WriteV2());
}

// The texts of a 2.2 tag stay what they were through a write of another text, also where the
// ID3v1 tag beside it holds them only as '?' (no Latin-1 characters); an edited text shows.
TEST_F(CID3TagFileTest, V22TextsOutsideLatin1SurviveAnId3v1Write) {
    const Bytes utf16Title = {1, 0xFF, 0xFE, 0x71, 0x67, 0xAC, 0x4E}; // "東京", UTF-16 with BOM
    const Bytes v22 = TagBytes::join({TagBytes::tag(v22Frame("TT2", utf16Title), 2), audio});
    const struct {
        std::string newTitle; // empty: only the year is edited
        std::string titleRead;
    } cases[] = {{"", "\xE6\x9D\xB1\xE4\xBA\xAC"}, {"Tokyo", "Tokyo"}};
    for (const auto& c : cases) {
        const std::string path = write(v22);
        examine(tags, path);
        ASSERT_EQ(tags.Title(), "\xE6\x9D\xB1\xE4\xBA\xAC");
        tags.SetYear("2001");
        if (!c.newTitle.empty()) tags.SetTitle(c.newTitle);
        ASSERT_EQ(tags.WriteTags().statusText(), std::string("ID3v1 Tag updated"));
        examine(tags, path);
        EXPECT_EQ(tags.Title(), c.titleRead) << c.newTitle;
        EXPECT_EQ(tags.Year(), "2001") << c.newTitle;
    }
}

TEST_F(CID3TagFileTest, WritesV1TrackBytesAndCutsTexts) {
    const struct {
        std::string track;
        std::uint8_t byte;
    } cases[] = {{"12", 12}, {"300", 44}, {"", 0}, {"7/12", 7}, {"x", 0}};
    for (const auto& c : cases) {
        const std::string path = write(audio);
        examine(tags, path);
        tags.SetTrack(c.track);
        tags.SetTitle(std::string(40, 'T'));
        tags.SetArtist("K\xC3\xB6nig \xD0\xBA");
        tags.SetGenreNumber(17 + 256);
        ASSERT_TRUE(tags.WriteV1());
        const Bytes file = FileBytes::read(path);
        ASSERT_EQ(file.size(), audio.size() + 128);
        EXPECT_EQ(tail(file, 128),
                  TagBytes::v1(std::string(30, 'T'), "K\xF6nig ?", "", "", "", c.byte, 17));
        EXPECT_EQ(readBack(path), std::string(30, 'T'));
        EXPECT_EQ(tags.Track(), std::to_string(c.byte));
    }
}

TEST_F(CID3TagFileTest, RewriteKeepsAudioV1TagAndUneditedFramesByteForByte) {
    const Bytes picture = TagBytes::frame("APIC", TagBytes::join({{0}, TagBytes::of("image/png"), {0, 3, 0}, FileBytes::pattern(3000)}));
    const Bytes privateFrame = TagBytes::frame("PRIV", TagBytes::join({TagBytes::of("owner"), {0, 1, 2, 0xFF, 0}}));
    const Bytes described = TagBytes::frame("COMM", TagBytes::join({{0, 'e', 'n', 'g'}, TagBytes::of("desc"), {0}, TagBytes::of("kept")}));
    const Bytes frames = TagBytes::join({TagBytes::textFrame("TIT2", "Old"), picture, described,
                                         TagBytes::frame("COMM", TagBytes::join({{0, 'e', 'n', 'g', 0}, TagBytes::of("old")})),
                                         privateFrame});
    const std::string path = write(TagBytes::join({TagBytes::tag(frames, 3, 300), audio, TagBytes::v1("Old", "", "", "", "", 1, 1)}));
    ::chmod(path.c_str(), 0640);

    for (int round = 0; round < 2; ++round) {
        examine(tags, path);
        tags.SetTitle("New \xE2\x82\xAC title");
        tags.SetComment("new");
        tags.SetGenreText("Rock");
        tags.SetGenreNumber(17);
        ASSERT_NE(tags.BuildV2(), nullptr);
        ASSERT_TRUE(tags.WriteV2());
        ASSERT_TRUE(tags.WriteV1());
    }
    const Bytes file = FileBytes::read(path);
    examine(tags, path);
    EXPECT_EQ(tags.Presence(), TagPresence::Both);
    EXPECT_EQ(tags.Title(), "New \xE2\x82\xAC title");
    EXPECT_EQ(tags.Comment(), "new");
    EXPECT_EQ(tags.GenreText(), "Rock");
    EXPECT_TRUE(contains(file, picture));
    EXPECT_TRUE(contains(file, privateFrame));
    EXPECT_TRUE(contains(file, described));
    EXPECT_FALSE(contains(file, TagBytes::of("old")));
    // the rewritten comment keeps its language; a new one gets "XXX" (see the layout test)
    EXPECT_TRUE(contains(file, TagBytes::frame("COMM", TagBytes::join({{0, 'e', 'n', 'g', 0}, TagBytes::of("new")}))));
    const std::size_t tagLength = 10 + tags.TagSize();
    ASSERT_EQ(file.size(), tagLength + audio.size() + 128);
    EXPECT_EQ(Bytes(file.begin() + static_cast<std::ptrdiff_t>(tagLength), file.end() - 128), audio);
    EXPECT_EQ(tail(file, 128), TagBytes::v1("New ? title", "", "", "", "new", 0, 17));
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(filesInFolder(), 1u);
}

TEST_F(CID3TagFileTest, RewriteOfA24TagStays24WithSyncsafeSizes) {
    const Bytes big = TagBytes::frame("TXXX", TagBytes::join({{0}, TagBytes::of("k"), {0}, Bytes(300, 'v')}), 4);
    const std::string path = write(TagBytes::join({TagBytes::tag(TagBytes::join({TagBytes::textFrame("TDRC", "1999", 4), big}), 4), audio}));
    examine(tags, path);
    EXPECT_EQ(tags.Year(), "1999");
    tags.SetYear("2024");
    tags.SetArtist(std::string(200, 'A'));
    ASSERT_NE(tags.BuildV2(), nullptr);
    ASSERT_TRUE(tags.WriteV2());
    const Bytes file = FileBytes::read(path);
    EXPECT_EQ(file[3], 4);
    EXPECT_TRUE(contains(file, big));
    EXPECT_TRUE(contains(file, TagBytes::frame("TPE1", TagBytes::join({{0}, Bytes(200, 'A')}), 4)));
    examine(tags, path);
    EXPECT_EQ(tags.Year(), "2024");
    EXPECT_EQ(tags.Artist(), std::string(200, 'A'));
}

class FailingRename : public CID3TagFile {
public:
    using CID3TagFile::CID3TagFile;

protected:
    void replaceFile(ReplacingFile& file) override {
        EXPECT_TRUE(FileBytes::exists(file.temporaryPath()));
        throw FileError(file.temporaryPath(), EIO);
    }
};

TEST_F(CID3TagFileTest, AFailedRewriteLeavesTheFileAsItWas) {
    const Bytes original = TagBytes::join({TagBytes::tag(TagBytes::textFrame("TIT2", "Old")), audio});
    const std::string path = write(original);
    FailingRename failing(boxes);
    examine(failing, path);
    failing.SetTitle("New");
    ASSERT_NE(failing.BuildV2(), nullptr);
    EXPECT_FALSE(failing.WriteV2());
    EXPECT_EQ(FileBytes::read(path), original);
    EXPECT_EQ(filesInFolder(), 1u);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_NE(boxes.shown[0].find("ID3Tag not updated"), std::string::npos);

    // A file that may not be written is not replaced either.
    ::chmod(path.c_str(), 0444);
    examine(tags, path);
    ASSERT_NE(tags.BuildV2(), nullptr);
    if (::geteuid() != 0) {
        EXPECT_FALSE(tags.WriteV2());
        EXPECT_EQ(boxes.shown.back(), "Can't open file " + path + " for reading");
        EXPECT_EQ(FileBytes::read(path), original);
    }
}

TEST_F(CID3TagFileTest, ATemporaryFileThatCannotBeWrittenGivesAMessageAndAnUntouchedFile) {
    // A name of 250 bytes as well: the temporary name beside it must still fit the file system.
    const Bytes original = TagBytes::join({TagBytes::tag(TagBytes::textFrame("TIT2", "Old")), audio});
    const std::string path = write(original, std::string(246, 'n') + ".mp3");
    examine(tags, path);
    ASSERT_NE(tags.BuildV2(), nullptr);
    {
        FileSizeLimit full(16); // the new file fails as on a full disk
        EXPECT_FALSE(tags.WriteV2());
    }
    EXPECT_EQ(FileBytes::read(path), original);
    EXPECT_EQ(filesInFolder(), 1u);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].rfind("Please try again\r\nID3Tag not updated\r\nCause: Read/Write error", 0), 0u);
    boxes.shown.clear();

    EXPECT_TRUE(tags.WriteV2());
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(filesInFolder(), 1u);
}

TEST_F(CID3TagFileTest, WriteTagsPutsBothTagsIntoOneRewrite) {
    // The same bytes as the rewrite followed by the ID3v1 write, for a file with and without an
    // ID3v1 tag; a file without an ID3v2 tag gets only its ID3v1 tag.
    const Bytes v2 = TagBytes::tag(TagBytes::textFrame("TIT2", "Old"));
    const Bytes v1 = TagBytes::v1("Old", "", "", "", "", 1, 1);
    const struct {
        Bytes file;
        TagsWritten written;
    } cases[] = {{TagBytes::join({v2, audio, v1}), {true, true}},
                 {TagBytes::join({v2, audio}), {true, true}},
                 {TagBytes::join({audio, v1}), {true, false}}};
    for (const auto& c : cases) {
        const std::string inOne = write(c.file, "one.mp3");
        const std::string inTwo = write(c.file, "two.mp3");
        examine(tags, inTwo);
        tags.SetTitle("New");
        if (tags.BuildV2()) ASSERT_TRUE(tags.WriteV2());
        ASSERT_TRUE(tags.WriteV1());
        examine(tags, inOne);
        tags.SetTitle("New");
        const TagsWritten written = tags.WriteTags();
        EXPECT_EQ(written.v1, c.written.v1);
        EXPECT_EQ(written.v2, c.written.v2);
        EXPECT_EQ(FileBytes::read(inOne), FileBytes::read(inTwo));
    }
    EXPECT_EQ(filesInFolder(), 2u);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(CID3TagFileTest, AFailedTagWriteLeavesTheFileAsItWas) {
    const struct {
        const char* what;
        Bytes file;
        std::uint64_t limit; // the disk is full at this size
        const char* box;
    } cases[] = {
        {"ID3v2 rewrite", TagBytes::join({TagBytes::tag(TagBytes::textFrame("TIT2", "Old")), audio}), 100,
         "Please try again\r\nID3Tag not updated\r\nCause: Read/Write error\r\nFile too large"},
        // The new tag goes in halfway: the file is cut back to its old length.
        {"ID3v1 appended", audio, audio.size() + 60, "ID3v1 Tag not updated, the file is unchanged\r\nFile too large"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        boxes.shown.clear();
        const std::string path = write(c.file);
        examine(tags, path);
        tags.SetTitle("New");
        TagsWritten written;
        {
            FileSizeLimit full(c.limit);
            written = tags.WriteTags();
        }
        EXPECT_FALSE(written.any());
        EXPECT_STREQ(written.statusText(), "Error: No Tag updated");
        EXPECT_EQ(FileBytes::read(path), c.file);
        EXPECT_EQ(filesInFolder(), 1u);
        EXPECT_EQ(boxes.shown, std::vector<std::string>{c.box});
    }
}

TEST_F(CID3TagFileTest, ReadOnlyFolderGivesAMessageAndAnUntouchedFile) {
    if (::geteuid() == 0) GTEST_SKIP() << "root may write into any folder";
    const Bytes original = TagBytes::join({TagBytes::tag(TagBytes::textFrame("TIT2", "Old")), audio});
    const std::string path = write(original);
    examine(tags, path);
    ASSERT_NE(tags.BuildV2(), nullptr);
    ::chmod(folder.path().c_str(), 0555);
    EXPECT_FALSE(tags.WriteV2());
    ::chmod(folder.path().c_str(), 0755);
    EXPECT_EQ(FileBytes::read(path), original);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].rfind("Please try again\r\nID3Tag not updated\r\nCause: Read/Write error", 0), 0u);
}

TEST_F(CID3TagFileTest, LocatesTheFirstAudioFrameBehindTheTag) {
    const Bytes junk = {0x00, 0xFF, 0x00, 0xFF, 0xE0, 0x00, 0x00, 0x12};
    const Bytes tag = TagBytes::tag(TagBytes::textFrame("TIT2", "T"), 3, 16);
    examine(tags, write(TagBytes::join({tag, junk, audio})));
    EXPECT_EQ(tags.AudioStart(), tag.size() + junk.size());

    // No frame within the window: the rewrite keeps the whole old file behind the new tag.
    const Bytes noAudio = TagBytes::join({tag, Bytes(3000, 0x11)});
    const std::string path = write(noAudio);
    examine(tags, path);
    EXPECT_EQ(tags.AudioStart(), 0u);
    ASSERT_NE(tags.BuildV2(), nullptr);
    ASSERT_TRUE(tags.WriteV2());
    EXPECT_EQ(tail(FileBytes::read(path), noAudio.size()), noAudio);

    // A Xing header frame is where the audio starts when it announces its frames.
    Bytes xing = TagBytes::mpegFrame(0xFB, 0x90, 0x44, 417);
    std::fill(xing.begin() + 4, xing.end(), 0);
    const Bytes xingFields = {'X', 'i', 'n', 'g', 0, 0, 0, 3, 0, 0, 0, 6, 0, 0, 0x0A, 0x00};
    std::copy(xingFields.begin(), xingFields.end(), xing.begin() + 36);
    examine(tags, write(TagBytes::join({tag, Bytes(5, 0), xing, audio})));
    EXPECT_EQ(tags.AudioStart(), tag.size() + 5);

    // Xing fields cut off by the end of the window are read no further than the window: the
    // frame counts by its header.
    const Bytes edge = TagBytes::join({tag, Bytes(2052 - 40, 0), {0xFF, 0xFB, 0x90, 0x44}, Bytes(32, 0), TagBytes::of("Xing"),
                                       {0, 0, 0, 1, 0, 0, 0, 0}});
    examine(tags, write(edge));
    EXPECT_EQ(tags.AudioStart(), tag.size() + 2052 - 40);
}

TEST_F(CID3TagFileTest, WaveAndOggFilesAreNotEditable) {
    for (const char* magic : {"RIFF", "OggS"}) {
        examine(tags, write(TagBytes::join({TagBytes::of(magic), Bytes(200, 0)})));
        EXPECT_FALSE(tags.IsEditable()) << magic;
        examine(tags, write(TagBytes::join({TagBytes::tag(TagBytes::textFrame("TIT2", "x")), TagBytes::of(magic), Bytes(200, 0)})));
        EXPECT_FALSE(tags.IsEditable()) << magic;
    }
    examine(tags, write(audio));
    EXPECT_TRUE(tags.IsEditable());
    tags.Release();
    EXPECT_FALSE(tags.IsEditable());
}

} // namespace
