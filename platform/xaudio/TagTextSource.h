#pragma once

#include <cstdint>
#include <string>

class FileHandle;

// The tag texts that the analyser's record carries.
struct TagTexts {
    std::string title, artist, album, year, comment; // UTF-8; empty when the file has none
    std::uint8_t genre = 255;                         // ID3v1 genre number, 255 when none is named
};

// Reads the tag texts of the file the analyser has open. The component reads no tag layout
// itself: the program hands each analyser a reader of its own tag engine.
class TagTextSource {
public:
    virtual ~TagTextSource() = default;
    // file is open for reading, at any position; the reader may seek. A file whose tags cannot
    // be read gives empty texts.
    virtual TagTexts readTagTexts(FileHandle& file) = 0;
};
