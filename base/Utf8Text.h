#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// UTF-8 helpers for texts that come from files: names in part headers may have been written
// on Windows in its Western code page (Windows-1252).
class Utf8Text {
public:
    static bool isValid(std::string_view bytes);
    static std::string fromWindows1252(std::string_view bytes);
    // Valid UTF-8 stays as it is; anything else is read as Windows-1252.
    static std::string fromLegacy(std::string_view bytes);
    // The longest prefix of at most maxBytes bytes that does not end inside a character.
    static std::string_view cutAtBoundary(std::string_view text, std::size_t maxBytes);
    // Number of characters (code points) of valid UTF-8; invalid bytes count one each.
    static std::size_t length(std::string_view text);
    // Appends the UTF-8 bytes of one code point (up to U+10FFFF).
    static void append(std::string& out, std::uint32_t codePoint);
};
