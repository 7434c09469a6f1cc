#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The text encodings of ID3 tags, to and from the UTF-8 texts of the engines.
// ID3v2 encoding bytes: 0 ISO-8859-1, 1 UTF-16 with byte order mark, 2 UTF-16BE, 3 UTF-8.
// ID3v1 fields are ISO-8859-1.
class Id3Text {
public:
    enum Encoding : std::uint8_t { Latin1 = 0, Utf16 = 1, Utf16BigEndian = 2, Utf8 = 3 };

    // Decodes one string in the given encoding up to its terminator or the end of the bytes.
    // consumed receives the bytes taken, terminator included.
    static std::string decode(std::uint8_t encoding, std::string_view bytes, std::size_t* consumed = nullptr);
    // A text frame's payload: the encoding byte, then the text.
    static std::string decodeFrameText(std::string_view payload);

    static std::string fromLatin1(std::string_view bytes);
    // The ISO-8859-1 bytes of a UTF-8 text, or none when a character lies outside it.
    static std::optional<std::string> toLatin1(std::string_view utf8);
    // As toLatin1, with "?" for each character ISO-8859-1 lacks.
    static std::string toLatin1Lossy(std::string_view utf8);
    // UTF-16 little-endian with its byte order mark, no terminator.
    static std::string toUtf16WithBom(std::string_view utf8);

    // The shortest encoding that holds the text without loss (ISO-8859-1 or UTF-16) and its bytes.
    struct Encoded {
        std::uint8_t encoding;
        std::string bytes;
    };
    static Encoded encodeForFrame(std::string_view utf8);
    // The terminator of an empty string in that encoding, as written before a COMM text.
    static std::string emptyString(std::uint8_t encoding);
};
