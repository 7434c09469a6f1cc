#include "support/TagBytes.h"

#include <algorithm>

Bytes TagBytes::join(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

Bytes TagBytes::frame(const std::string& id, const Bytes& payload, int version, std::uint8_t formatFlags) {
    Bytes out(id.begin(), id.end());
    const auto size = static_cast<std::uint32_t>(payload.size());
    if (version == 4)
        for (int shift = 21; shift >= 0; shift -= 7) out.push_back(static_cast<std::uint8_t>((size >> shift) & 0x7F));
    else
        for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(size >> shift));
    out.push_back(0);
    out.push_back(formatFlags);
    out.insert(out.end(), payload.begin(), payload.end());
    return out;
}

Bytes TagBytes::textFrame(const std::string& id, const std::string& latin1, int version) {
    return frame(id, join({{0}, of(latin1)}), version);
}

Bytes TagBytes::tag(const Bytes& frames, int version, std::size_t padding, std::uint8_t flags) {
    const auto size = static_cast<std::uint32_t>(frames.size() + padding);
    Bytes out = {'I', 'D', '3', static_cast<std::uint8_t>(version), 0, flags};
    for (int shift = 21; shift >= 0; shift -= 7) out.push_back(static_cast<std::uint8_t>((size >> shift) & 0x7F));
    out.insert(out.end(), frames.begin(), frames.end());
    out.resize(out.size() + padding, 0);
    return out;
}

Bytes TagBytes::v1(const std::string& title, const std::string& artist, const std::string& album,
                   const std::string& year, const std::string& comment, std::uint8_t track, std::uint8_t genre) {
    Bytes out(128, 0);
    auto put = [&out](std::size_t at, std::size_t width, const std::string& text) {
        std::copy_n(text.begin(), std::min(width, text.size()), out.begin() + static_cast<std::ptrdiff_t>(at));
    };
    put(0, 3, "TAG");
    put(3, 30, title);
    put(33, 30, artist);
    put(63, 30, album);
    put(93, 4, year);
    // ID3v1.1: a track shortens the comment to 28 bytes and a zero byte.
    put(97, track != 0 ? 28 : 30, comment);
    if (track != 0) out[126] = track;
    out[127] = genre;
    return out;
}

Bytes TagBytes::mpegFrame(std::uint8_t b1, std::uint8_t b2, std::uint8_t b3, std::size_t length) {
    Bytes out(length, 0x55);
    out[0] = 0xFF;
    out[1] = b1;
    out[2] = b2;
    out[3] = b3;
    return out;
}

Bytes TagBytes::mpegFrames(int count) {
    Bytes out;
    for (int i = 0; i < count; ++i) {
        Bytes one = mpegFrame(0xFB, 0x90, 0x44, 417);
        for (std::size_t k = 4; k < one.size(); ++k) one[k] = static_cast<std::uint8_t>((k * 7 + static_cast<std::size_t>(i)) % 200);
        out.insert(out.end(), one.begin(), one.end());
    }
    return out;
}
