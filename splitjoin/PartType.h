#pragma once

#include <cstdint>
#include <string_view>

// The kind of a part as the Decoder shows it: the flags (0 to 15) of a "CCode" part,
// 16 for an ENC file, 17 for an OLD file.
class PartType {
public:
    static constexpr int None = 0;
    static constexpr int Enc = 16;
    static constexpr int Old = 17;

    // "None", "GEO", "GPVYX", "ENC", ... ; "None" for anything outside 0 to 17.
    static std::string_view label(int type);
    static bool isLegacy(int type) { return type == Enc || type == Old; }
    static bool usesGeoNaming(int type) { return !isLegacy(type) && (type & 4) != 0; }
};
