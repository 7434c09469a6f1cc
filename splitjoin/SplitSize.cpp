#include "splitjoin/SplitSize.h"

#include <limits>

std::optional<std::uint64_t> SplitSize::fromText(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    if (i < text.size() && text[i] == '+') ++i;
    constexpr std::uint64_t limit = std::numeric_limits<std::uint64_t>::max() / 10 - 10;
    std::uint64_t bytes = 0;
    bool anyDigit = false;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        anyDigit = true;
        bytes = bytes * 10 + static_cast<std::uint64_t>(text[i] - '0');
        if (bytes > limit / 1'000'000) return std::nullopt;
    }
    std::uint64_t scale = 1'000'000;
    bytes *= scale;
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
            anyDigit = true;
            scale /= 10; // digits beyond the sixth are below one byte: truncated
            bytes += static_cast<std::uint64_t>(text[i] - '0') * scale;
        }
    }
    if (!anyDigit) return std::nullopt;
    return bytes;
}
