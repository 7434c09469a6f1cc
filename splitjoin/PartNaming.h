#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The two ways a set of parts is named from the path of its part 0.
//
// Geo naming: "my_song00.ppt" -> "my_song07.ppt": the path up to its last dot less two
// characters, the index with at least two digits, a dot and the extension.
// Classic naming: "song.s00" -> "song.s12": the path up to and including the first character
// after its last dot, then the index with at least two digits.
//
// Both look for the dot in the file name only and never cut into the folder: a part of a set
// always lies in the folder of the path it was named from.
class PartNaming {
public:
    static std::string geoPartPath(std::string_view path, std::uint64_t index);
    // The path of part 0 from the path of part `index` of a Geo set: the name before its dot
    // loses the index's digits when it ends in them ("s100.ppt" of part 100 -> "s00.ppt"), else
    // its last two characters, as part 0's own name does.
    static std::string geoPartZeroPath(std::string_view path, std::uint64_t index);
    // The path up to its last dot less two characters: "/x/my_song00.ppt" -> "/x/my_song".
    static std::string_view geoStem(std::string_view path);
    static std::string classicPartPath(std::string_view path, std::uint64_t index);
    static std::string partPath(std::string_view path, std::uint64_t index, bool geo);
    // The index as decimal with at least two digits: 7 -> "07", 100 -> "100".
    static std::string number(std::uint64_t index);

    // The text after the last '/', the whole text when there is none.
    static std::string_view fileName(std::string_view path);
    // The text before the last '/', empty when there is none; "/" for a file in the root.
    static std::string_view folder(std::string_view path);
    // folder + "/" + name, without doubling a trailing separator.
    static std::string join(std::string_view folder, std::string_view name);
};
