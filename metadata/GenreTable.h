#pragma once

#include <array>
#include <optional>
#include <string_view>

// The ID3v1 genre names; a name's position is its genre number (the genre byte of an ID3v1 tag).
// Numbers 148 to 255 have no name.
class GenreTable {
public:
    static constexpr int Count = 148;

    // The name of a genre number, empty for a number without one.
    static std::string_view name(int number);
    // The genre a reader is shown: the name of the genre number, or, for a number without one,
    // the name of the ID3v2 genre frame (a genre of its own such as "Dubstep").
    static std::string_view shownName(int number, std::string_view id3v2Name);
    // The first number whose name equals the text exactly (case counts), -1 when none does.
    static int indexOf(std::string_view name);
    // As indexOf, but letter case is ignored (ASCII letters).
    static int indexOfIgnoringCase(std::string_view name);
    static const std::array<std::string_view, Count>& names();

    // An ID3v2 genre text taken apart: "(17)Rock" is the number 17 in parentheses and the name
    // "Rock"; "(17)" has only the number, "Rock" and "17" only the name.
    struct Id3v2Genre {
        std::optional<int> reference; // the leading digits behind a "(" that opens the text
        std::string_view name;        // behind the ")" that closes an opening "(", else the whole text
    };
    static Id3v2Genre parseId3v2(std::string_view text);
    // The genre number an ID3v2 genre text stands for: its number in parentheses, else the entry
    // that its name equals (case counts), else its name as a plain number; -1 when none of them
    // is a number from 0 to 255.
    static int numberOfId3v2(std::string_view text);
};
