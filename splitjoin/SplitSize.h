#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// A split size as the user gave it, its text and the bytes per part read from it. The text is
// read once, when the size is made, so the two never disagree.
class SplitSize {
public:
    // Bytes a part file reserves beside its data; a part file is 15 bytes smaller than the size.
    static constexpr std::uint64_t Overhead = 178;

    explicit SplitSize(std::string text = "1.0 MB") : text_(std::move(text)), bytes_(fromText(text_)) {}
    // A size given as a number of bytes; its text names them.
    static SplitSize ofBytes(std::uint64_t bytes) { return SplitSize(std::to_string(bytes) + " bytes", bytes); }

    const std::string& text() const { return text_; }
    // Bytes per part as chosen, 0 for unsplit; empty when the text holds no usable number.
    std::optional<std::uint64_t> bytes() const { return bytes_; }

    // The decimal number at the start of a split size text ("1.4 MB", "0.0 MB unsplit") times
    // 1,000,000, truncated; leading blanks are skipped and the rest ignored. The number is read
    // exactly, so "1.4 MB" is 1,400,000. Empty when the text starts with no number or a negative
    // one.
    static std::optional<std::uint64_t> fromText(std::string_view text);

private:
    SplitSize(std::string text, std::uint64_t bytes) : text_(std::move(text)), bytes_(bytes) {}

    std::string text_;
    std::optional<std::uint64_t> bytes_;
};
