#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// Split sizes and what a split makes of them.
class SplitSize {
public:
    // Bytes a part file reserves beside its data; a part file is 15 bytes smaller than the size.
    static constexpr std::uint64_t Overhead = 178;

    // The decimal number at the start of a split size text ("1.4 MB", "0.0 MB unsplit") times
    // 1,000,000, truncated; leading blanks are skipped and the rest ignored. The number is read
    // exactly, so "1.4 MB" is 1,400,000. Empty when the text starts with no number or a negative
    // one.
    static std::optional<std::uint64_t> fromText(std::string_view text);
};
