#pragma once

#include "base/MessageBoxSink.h"
#include "metadata/CID3TagFile.h"
#include "platform/xaudio/TagTextSource.h"

// The analyser's tag texts as the program's tag record reads them: the texts of the ID3v2 tag
// when the file has one, else those of the ID3v1 tag; the genre number of the ID3v1 tag when
// there is one, else the one the ID3v2 genre text stands for ("(17)Rock", "Rock", "17"). The
// record read stays here for what else the caller needs of it (Track, Presence, a write).
class Id3TagTexts : public TagTextSource {
public:
    // Reading shows no message; messages are for the record's writes.
    explicit Id3TagTexts(MessageBoxSink& messages);
    Id3TagTexts();
    Id3TagTexts(const Id3TagTexts&) = delete;
    Id3TagTexts& operator=(const Id3TagTexts&) = delete;

    TagTexts readTagTexts(FileHandle& file) override;

    CID3TagFile& tags() { return tags_; }
    const CID3TagFile& tags() const { return tags_; }

private:
    struct NoMessages : MessageBoxSink {
        void showStopBox(const std::string&) override {}
    };

    std::uint8_t genreOf(FileHandle& file, bool read);
    std::uint8_t v1Genre(FileHandle& file);

    NoMessages silent_;
    CID3TagFile tags_;
};
