// libFuzzer target for the tag reader and writer: any bytes as an MP3 file. Its ID3v2 tag is
// read, edited and built anew; the new tag must read back with the texts that were set, and
// rewriting the file must give exactly the new tag followed by the audio. The ID3v1 tag is
// written over (or appended to) the file and read back too: no byte before it may change.

#include "base/MessageBoxSink.h"
#include "base/Utf8Text.h"
#include "fuzz/FuzzScratch.h"
#include "metadata/CID3TagFile.h"
#include "metadata/Id3Text.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {

struct NoMessages : MessageBoxSink {
    void showStopBox(const std::string&) override {}
};

struct Texts {
    std::string title, artist, album, year, comment, track, genre;
    int genreNumber = 0;

    static Texts of(const CID3TagFile& tags) {
        return {tags.Title(), tags.Artist(), tags.Album(), tags.Year(), tags.Comment(), tags.Track(),
                tags.GenreText(), tags.GenreNumber()};
    }
    void setInto(CID3TagFile& tags) const {
        tags.SetTitle(title);
        tags.SetArtist(artist);
        tags.SetAlbum(album);
        tags.SetYear(year);
        tags.SetComment(comment);
        tags.SetTrack(track);
        tags.SetGenreText(genre);
        tags.SetGenreNumber(genreNumber);
    }
    // Every text read from a tag is UTF-8, whatever the tag held.
    void checkValid() const {
        for (const std::string* text : {&title, &artist, &album, &year, &comment, &track, &genre})
            FUZZ_CHECK(Utf8Text::isValid(*text));
    }
    // New texts for a rewrite: one that needs UTF-16, one that Latin-1 holds.
    Texts edited() const {
        Texts next = *this;
        next.title += "\xE2\x82\xAC";
        next.album = "\xC3\xA9" + next.album;
        if (next.comment.empty()) next.comment.push_back('c');
        return next;
    }
};

std::uint32_t syncsafe(const std::uint8_t* b) {
    return (std::uint32_t(b[0] & 0x7F) << 21) | (std::uint32_t(b[1] & 0x7F) << 14) |
           (std::uint32_t(b[2] & 0x7F) << 7) | std::uint32_t(b[3] & 0x7F);
}

// The new tag must read back with the texts it was built from. The genre text round-trips
// only without parentheses, which the reader takes for a genre number.
void checkBuiltTag(const std::string& folder, const Texts& set, const std::vector<std::uint8_t>& tag) {
    FUZZ_CHECK(tag.size() > 10 && tag[0] == 'I' && tag[1] == 'D' && tag[2] == '3');
    FUZZ_CHECK(syncsafe(tag.data() + 6) == tag.size() - 10);
    const std::string path = folder + "/built.mp3";
    FuzzScratch::write(path, std::string(tag.begin(), tag.end()));
    NoMessages messages;
    CID3TagFile again(messages);
    again.Reset();
    again.SetMode(TagMode::ModeV2);
    FUZZ_CHECK(again.Read(path));
    const Texts read = Texts::of(again);
    FUZZ_CHECK(read.title == set.title);
    FUZZ_CHECK(read.artist == set.artist);
    FUZZ_CHECK(read.album == set.album);
    FUZZ_CHECK(read.year == set.year);
    FUZZ_CHECK(read.track == set.track);
    FUZZ_CHECK(read.comment == set.comment);
    if (set.genre.find_first_of("()") == std::string::npos) FUZZ_CHECK(read.genre == set.genre);
}

void fuzzV2(const std::string& folder, const std::string& path, const std::string& input) {
    NoMessages messages;
    CID3TagFile tags(messages);
    tags.Release();
    tags.Reset();
    tags.DetectTags(path);
    tags.SetMode(TagMode::ModeV2);
    if (!tags.Read(path)) return;
    const Texts read = Texts::of(tags);
    read.checkValid();
    const Texts set = read.edited();
    set.setInto(tags);
    const std::vector<std::uint8_t>* built = tags.BuildV2();
    if (!built) return;
    FUZZ_CHECK(built->size() >= tags.NewTagLength());
    const std::vector<std::uint8_t> tag(built->begin(), built->begin() + tags.NewTagLength());
    checkBuiltTag(folder, set, tag);

    // The rewrite keeps everything from where the audio starts.
    FUZZ_CHECK(tags.AudioStart() <= input.size());
    const bool written = tags.WriteV2();
    const std::string now = FuzzScratch::read(path);
    if (written)
        FUZZ_CHECK(now == std::string(tag.begin(), tag.end()) + input.substr(tags.AudioStart()));
    else
        FUZZ_CHECK(now == input);
    FUZZ_CHECK(FuzzScratch::filesUnder(folder) == (std::vector<std::string>{"built.mp3", "in.mp3"}));
}

// The ID3v1.1 track byte: the low byte of the track's leading number, 0 when there is none.
unsigned v1Track(const std::string& track) {
    unsigned value = 0;
    for (char c : track) {
        if (c < '0' || c > '9') break;
        value = (value * 10 + unsigned(c - '0')) & 0xFFu;
    }
    return value;
}

// The ID3v1 field as the tag holds it: Latin-1, cut to its width, up to a NUL.
std::string v1Field(const std::string& text, std::size_t width) {
    std::string latin1 = Id3Text::toLatin1Lossy(text).substr(0, width);
    return Id3Text::fromLatin1(latin1.substr(0, latin1.find('\0')));
}

void fuzzV1(const std::string& path, const std::string& input) {
    FuzzScratch::write(path, input);
    NoMessages messages;
    CID3TagFile tags(messages);
    tags.Release();
    tags.Reset();
    tags.DetectTags(path);
    tags.SetMode(TagMode::ModeV1);
    const bool hadTag = tags.Read(path);
    const Texts read = Texts::of(tags);
    read.checkValid();
    const Texts set = read.edited();
    set.setInto(tags);
    FUZZ_CHECK(tags.WriteV1());

    const std::string now = FuzzScratch::read(path);
    const std::size_t kept = hadTag ? input.size() - 128 : input.size();
    FUZZ_CHECK(now.size() == kept + 128);
    FUZZ_CHECK(now.compare(0, kept, input, 0, kept) == 0);
    CID3TagFile again(messages);
    again.Reset();
    again.SetMode(TagMode::ModeV1);
    FUZZ_CHECK(again.Read(path));
    FUZZ_CHECK(again.Title() == v1Field(set.title, 30));
    FUZZ_CHECK(again.Artist() == v1Field(set.artist, 30));
    FUZZ_CHECK(again.Album() == v1Field(set.album, 30));
    FUZZ_CHECK(again.Year() == v1Field(set.year, 4));
    // A track takes the comment's last two bytes (ID3v1.1); without one the comment has all 30.
    const unsigned track = v1Track(set.track);
    FUZZ_CHECK(again.Comment() == v1Field(set.comment, track != 0 ? 28 : 30));
    if (track != 0) FUZZ_CHECK(again.Track() == std::to_string(track));
    FUZZ_CHECK(again.GenreNumber() == (set.genreNumber & 0xFF));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::string folder = FuzzScratch::freshFolder("id3");
    const std::string path = folder + "/in.mp3";
    FuzzScratch::write(path, input);
    fuzzV2(folder, path, input);
    fuzzV1(path, input);
    return 0;
}
