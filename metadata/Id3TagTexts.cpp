#include "metadata/Id3TagTexts.h"

#include "metadata/GenreTable.h"
#include "metadata/Id3Text.h"

Id3TagTexts::Id3TagTexts(MessageBoxSink& messages) : tags_(messages) {}

Id3TagTexts::Id3TagTexts() : tags_(silent_) {}

TagTexts Id3TagTexts::readTagTexts(FileHandle& file) {
    TagTexts texts;
    const bool read = tags_.ReadTags(file);
    if (read) {
        texts.title = tags_.Title();
        texts.artist = tags_.Artist();
        texts.album = tags_.Album();
        texts.year = tags_.Year();
        texts.comment = tags_.Comment();
    }
    texts.genre = genreOf(file, read);
    return texts;
}

std::uint8_t Id3TagTexts::genreOf(FileHandle& file, bool read) {
    switch (tags_.Presence()) {
    case TagPresence::V1Only: return read ? static_cast<std::uint8_t>(tags_.GenreNumber()) : 255;
    case TagPresence::Both: return v1Genre(file);
    case TagPresence::V2Only:
        if (const auto genre = tags_.FindFrame("TCON")) {
            const int number = GenreTable::numberOfId3v2(Id3Text::decodeFrameText(*genre));
            return number >= 0 ? static_cast<std::uint8_t>(number) : 255;
        }
        return 255;
    case TagPresence::None: break;
    }
    return 255;
}

// The record holds the ID3v2 tag's texts; the genre byte comes from the ID3v1 tag beside it.
std::uint8_t Id3TagTexts::v1Genre(FileHandle& file) {
    CID3TagFile v1(silent_);
    v1.Reset();
    v1.SetMode(TagMode::ModeV1);
    return v1.Read(file) ? static_cast<std::uint8_t>(v1.GenreNumber()) : 255;
}
