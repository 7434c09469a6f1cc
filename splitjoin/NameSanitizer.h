#pragma once

#include <string>
#include <string_view>

// Name rules of split and join.
class NameSanitizer {
public:
    // The output stem of a split, made web-safe: lower case, blanks to "_", "&" and "+" to "$",
    // ", ' ´ ` ! ?" removed, umlauts spelt out ("Ä", "ä" -> "ae", "ß" -> "ss"), and the dots
    // reduced so that at most one short extension-like dot stays.
    static std::string sanitizeStem(std::string_view stem);

    // A name read from a part header reduced to a plain file name: read as Windows-1252 when it
    // is not UTF-8, folder separators and control characters replaced by "_", and "." or ".."
    // made harmless. A join never writes outside its output folder through it.
    static std::string plainFileName(std::string_view raw);
};
