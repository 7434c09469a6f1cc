#pragma once

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// Tags and MPEG audio built byte by byte, so each test shows exactly what the file holds.
class TagBytes {
public:
    static Bytes of(const std::string& text) { return Bytes(text.begin(), text.end()); }
    static Bytes join(std::initializer_list<Bytes> parts);

    // One ID3v2 frame; 2.3 sizes are plain 32-bit numbers, 2.4 sizes syncsafe.
    static Bytes frame(const std::string& id, const Bytes& payload, int version = 3, std::uint8_t formatFlags = 0);
    static Bytes textFrame(const std::string& id, const std::string& latin1, int version = 3);
    // An ID3v2 tag around the frames, followed by padding zero bytes.
    static Bytes tag(const Bytes& frames, int version = 3, std::size_t padding = 0, std::uint8_t flags = 0);
    // The 128 bytes of an ID3v1 tag: ID3v1.1 (28-byte comment, zero, track) for a track other
    // than 0, else ID3v1.0 with a 30-byte comment.
    static Bytes v1(const std::string& title, const std::string& artist, const std::string& album,
                    const std::string& year, const std::string& comment, std::uint8_t track, std::uint8_t genre);
    // count MPEG-1 Layer III frames, 128 kbit/s at 44.1 kHz, joint stereo, no padding
    // (417 bytes each); the data bytes after each header never hold a frame sync.
    static Bytes mpegFrames(int count);
    static Bytes mpegFrame(std::uint8_t b1, std::uint8_t b2, std::uint8_t b3, std::size_t length);
};
