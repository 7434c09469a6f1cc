#include "splitjoin/LegacyPart.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::string_view kOldSignature = "abcdef2";
constexpr std::string_view kEncMagic = "ENC ";

// An OLD header text: it ends at its length byte when that is below 30, at its first NUL, and
// after 29 characters in any case; trailing blanks go.
std::string oldText(std::span<const std::uint8_t> head, std::size_t lengthAt) {
    std::size_t length = std::min<std::size_t>(head[lengthAt], 29);
    const std::uint8_t* text = head.data() + lengthAt + 1;
    length = static_cast<std::size_t>(std::find(text, text + length, 0) - text);
    std::string result(reinterpret_cast<const char*>(text), length);
    while (!result.empty() && result.back() == ' ') result.pop_back();
    return result;
}

// An ENC field is scrambled by XOR with (position + 1) modulo 256.
std::string descramble(const std::uint8_t* field, std::size_t length) {
    std::string text(length, '\0');
    for (std::size_t i = 0; i < length; ++i)
        text[i] = static_cast<char>(field[i] ^ static_cast<std::uint8_t>((i + 1) & 0xFF));
    return text;
}

} // namespace

LegacyPart::Info LegacyPart::identify(std::span<const std::uint8_t> head, std::uint64_t fileSize) {
    Info old = identifyOld(head);
    if (old.kind != Kind::None) return old;
    return identifyEnc(head, fileSize);
}

LegacyPart::Info LegacyPart::identifyOld(std::span<const std::uint8_t> head) {
    Info info;
    if (head.size() < 1 + kOldSignature.size() ||
        std::memcmp(head.data() + 1, kOldSignature.data(), kOldSignature.size()) != 0)
        return info;
    info.kind = Kind::Old;
    // A short OLD file has texts only as far as it reaches.
    std::array<std::uint8_t, OldHeaderSize> header{};
    std::copy_n(head.begin(), std::min(head.size(), OldHeaderSize), header.begin());
    info.firstText = oldText(header, 38);
    info.secondText = oldText(header, 69);
    info.payloadOffset = OldHeaderSize;
    return info;
}

LegacyPart::Info LegacyPart::identifyEnc(std::span<const std::uint8_t> head,
                                         std::uint64_t fileSize) {
    Info info;
    if (head.size() < EncHeaderSize ||
        std::memcmp(head.data(), kEncMagic.data(), kEncMagic.size()) != 0)
        return info;
    const std::array<std::size_t, 6> lengths = {
        head[18], head[19], head[20], head[21],
        static_cast<std::size_t>(head[22] | (head[23] << 8)),
        static_cast<std::size_t>(head[24] | (head[25] << 8))};
    std::size_t headerSize = EncHeaderSize;
    for (std::size_t length : lengths) headerSize += length;
    if (headerSize > fileSize || headerSize > head.size()) return info;
    info.kind = Kind::Enc;
    const std::uint8_t* field = head.data() + EncHeaderSize;
    info.firstText = descramble(field, lengths[0]);
    info.secondText = descramble(field + lengths[0], lengths[1]);
    info.payloadOffset = headerSize;
    return info;
}

std::string LegacyPart::proposedName(const Info& info) {
    if (info.kind == Kind::Old) return info.secondText + " - " + info.firstText + ".mp3";
    if (info.kind == Kind::Enc) return info.firstText + " - " + info.secondText + ".mp3";
    return {};
}

std::array<std::size_t, LegacyPart::Columns> LegacyPart::columnOrder(std::string_view key) {
    std::array<std::size_t, Columns> order{};
    std::size_t next = 0;
    for (char letter = 'a'; letter <= 'z'; ++letter)
        for (std::size_t position = 0; position < key.size() && next < Columns; ++position)
            if (key[position] == letter) order[next++] = position;
    return order;
}

void LegacyPart::untranspose(const std::uint8_t* payload, std::uint8_t* out, std::size_t n) {
    static const auto order = columnOrder();
    // The payload holds the columns one after another, in column order.
    for (std::size_t column : order)
        for (std::size_t position = column; position < n; position += Columns)
            out[position] = *payload++;
}
