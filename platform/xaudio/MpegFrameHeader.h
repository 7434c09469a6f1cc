#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

// The four-byte header of an MPEG-1, MPEG-2 or MPEG-2.5 audio frame (Layer I, II or III).
// Free-format frames (bitrate index 0) and reserved values are not accepted: their length
// cannot be known from the header.
struct MpegFrameHeader {
    enum Level { Mpeg25 = 0, Mpeg1 = 1, Mpeg2 = 2 };

    Level level = Mpeg1;
    int layer = 3;           // 1, 2 or 3
    int bitrate = 0;         // bit/s
    int sampleRate = 0;      // Hz
    int channelMode = 0;     // 0 stereo, 1 joint stereo, 2 dual channel, 3 single channel
    bool padding = false;
    bool protectedByCrc = false;

    // The header at bytes[0..3], or none when those bytes are no valid frame header.
    static std::optional<MpegFrameHeader> parse(const std::uint8_t* bytes);

    // Bytes of the whole frame, header included.
    std::size_t frameLength() const;
    int samplesPerFrame() const;
    int channels() const { return channelMode == 3 ? 1 : 2; }
    // Where a Xing, Info or VBRI header would start, counted from the frame start: behind the
    // side information of a Layer III frame.
    std::size_t sideInfoEnd() const;
};
