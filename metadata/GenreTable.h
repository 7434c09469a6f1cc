#pragma once

#include <array>
#include <string_view>

// The ID3v1 genre names; a name's position is its genre number (the genre byte of an ID3v1 tag).
// Numbers 148 to 255 have no name.
class GenreTable {
public:
    static constexpr int Count = 148;

    // The name of a genre number, empty for a number without one.
    static std::string_view name(int number);
    // The first number whose name equals the text exactly (case counts), -1 when none does.
    static int indexOf(std::string_view name);
    // As indexOf, but letter case is ignored (ASCII letters).
    static int indexOfIgnoringCase(std::string_view name);
    static const std::array<std::string_view, Count>& names();
};
