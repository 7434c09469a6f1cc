#include "metadata/GenreTable.h"

#include <algorithm>
#include <climits>

namespace {

constexpr std::array<std::string_view, GenreTable::Count> kNames = {
    "Blues", "Classic Rock", "Country", "Dance", "Disco", "Funk", "Grunge", "Hip-Hop", "Jazz",
    "Metal", "New Age", "Oldies", "Other", "Pop", "R&B", "Rap", "Reggae", "Rock", "Techno",
    "Industrial", "Alternative", "Ska", "Death Metal", "Pranks", "Soundtrack", "Euro-Techno",
    "Ambient", "Trip Hop", "Vocal", "Jazz+Funk", "Fusion", "Trance", "Classical", "Instrumental",
    "Acid", "House", "Game", "Sound Clip", "Gospel", "Noise", "Alternative Rock", "Bass", "Soul",
    "Punk", "Space", "Meditative", "Instrumental Pop", "Instrumental Rock", "Ethnic", "Gothic",
    "Darkwave", "Techno-Industrial", "Electronic", "Pop-Folk", "Eurodance", "Dream",
    "Southern Rock", "Comedy", "Cult", "Gangsta Rap", "Top 40", "Christian Rap", "Pop/Punk",
    "Jungle", "Native American", "Cabaret", "New Wave", "Phychedelic", "Rave", "Showtunes",
    "Trailer", "Lo-Fi", "Tribal", "Acid Punk", "Acid Jazz", "Polka", "Retro", "Musical",
    "Rock & Roll", "Hard Rock", "Folk", "Folk/Rock", "National Folk", "Swing", "Fast-Fusion",
    "Bebob", "Latin", "Revival", "Celtic", "Blue Grass", "Avantegarde", "Gothic Rock",
    "Progressive Rock", "Psychedelic Rock", "Symphonic Rock", "Slow Rock", "Big Band", "Chorus",
    "Easy Listening", "Acoustic", "Humour", "Speech", "Chanson", "Opera", "Chamber Music",
    "Sonata", "Symphony", "Booty Bass", "Primus", "Porn Groove", "Satire", "Slow Jam", "Club",
    "Tango", "Samba", "Folklore", "Ballad", "Power Ballad", "Rhythmic Soul", "Freestyle", "Duet",
    "Punk Rock", "Drum Solo", "Acapella", "Euro-House", "Dance Hall", "Goa", "Drum & Bass",
    "Club-House", "Hardcore", "Terror", "Indie", "Brit Pop", "Negerpunk", "Polsk Punk", "Beat",
    "Christian Gangsta Rap", "Heavy Metal", "Black Metal", "Crossover", "Comteporary Christian",
    "Christian Rock", "Merengue", "Salsa", "Trash Metal", "Anime", "JPop", "Synth Pop",
};

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The value of the leading digits, held at INT_MAX; none when the text starts with no digit.
std::optional<int> leadingNumber(std::string_view text) {
    if (text.empty() || !isDigit(text[0])) return std::nullopt;
    long value = 0;
    for (std::size_t i = 0; i < text.size() && isDigit(text[i]); ++i) value = std::min<long>(value * 10 + (text[i] - '0'), INT_MAX);
    return static_cast<int>(value);
}

} // namespace

std::string_view GenreTable::name(int number) {
    return number >= 0 && number < Count ? kNames[static_cast<std::size_t>(number)] : std::string_view();
}

std::string_view GenreTable::shownName(int number, std::string_view id3v2Name) {
    const std::string_view named = name(number);
    return named.empty() ? id3v2Name : named;
}

int GenreTable::indexOf(std::string_view name) {
    for (int i = 0; i < Count; ++i)
        if (kNames[static_cast<std::size_t>(i)] == name) return i;
    return -1;
}

int GenreTable::indexOfIgnoringCase(std::string_view name) {
    for (int i = 0; i < Count; ++i)
        if (equalIgnoringCase(kNames[static_cast<std::size_t>(i)], name)) return i;
    return -1;
}

const std::array<std::string_view, GenreTable::Count>& GenreTable::names() { return kNames; }

GenreTable::Id3v2Genre GenreTable::parseId3v2(std::string_view text) {
    Id3v2Genre genre;
    genre.name = text;
    // Only a text that opens with a parenthesis carries a reference: a name such as
    // "Rock (live)" stays whole, or a rewrite of the tag would lose it.
    if (text.empty() || text[0] != '(') return genre;
    genre.reference = leadingNumber(text.substr(1));
    if (const std::size_t close = text.find(')'); close != std::string_view::npos) genre.name = text.substr(close + 1);
    return genre;
}

int GenreTable::numberOfId3v2(std::string_view text) {
    const Id3v2Genre genre = parseId3v2(text);
    if (genre.reference && *genre.reference < 256) return *genre.reference;
    if (const int index = indexOf(genre.name); index >= 0) return index;
    const bool plainNumber = genre.name.size() <= 3 && std::all_of(genre.name.begin(), genre.name.end(), isDigit);
    if (const auto number = plainNumber ? leadingNumber(genre.name) : std::nullopt; number && *number < 256) return *number;
    return -1;
}
