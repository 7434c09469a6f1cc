#include "platform/xaudio/MpegFrameHeader.h"

namespace {

// kbit/s by bitrate index 1 to 14, for MPEG-1 Layer I, II, III and the lower sampling rates of
// MPEG-2 and MPEG-2.5 (Layer I, then Layer II and III).
constexpr int kMpeg1[3][15] = {
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},
};
constexpr int kLowRateLayer1[15] = {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256};
constexpr int kLowRateLayer23[15] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
constexpr int kMpeg1Rates[3] = {44100, 48000, 32000};

} // namespace

std::optional<MpegFrameHeader> MpegFrameHeader::parse(const std::uint8_t* bytes) {
    if (bytes[0] != 0xFF || (bytes[1] & 0xE0) != 0xE0) return std::nullopt;
    const int versionBits = (bytes[1] >> 3) & 3;
    const int layerBits = (bytes[1] >> 1) & 3;
    const int bitrateIndex = bytes[2] >> 4;
    const int rateIndex = (bytes[2] >> 2) & 3;
    if (versionBits == 1 || layerBits == 0 || bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3)
        return std::nullopt;
    MpegFrameHeader header;
    header.level = versionBits == 3 ? Mpeg1 : versionBits == 2 ? Mpeg2 : Mpeg25;
    header.layer = 4 - layerBits;
    int kbits = 0;
    if (header.level == Mpeg1)
        kbits = kMpeg1[header.layer - 1][bitrateIndex];
    else
        kbits = header.layer == 1 ? kLowRateLayer1[bitrateIndex] : kLowRateLayer23[bitrateIndex];
    header.bitrate = kbits * 1000;
    const int divisor = header.level == Mpeg1 ? 1 : header.level == Mpeg2 ? 2 : 4;
    header.sampleRate = kMpeg1Rates[rateIndex] / divisor;
    header.protectedByCrc = (bytes[1] & 1) == 0;
    header.padding = ((bytes[2] >> 1) & 1) != 0;
    header.channelMode = bytes[3] >> 6;
    return header;
}

std::size_t MpegFrameHeader::frameLength() const {
    if (layer == 1) return static_cast<std::size_t>((12 * bitrate / sampleRate + (padding ? 1 : 0)) * 4);
    const int factor = layer == 3 && level != Mpeg1 ? 72 : 144;
    return static_cast<std::size_t>(factor * bitrate / sampleRate + (padding ? 1 : 0));
}

int MpegFrameHeader::samplesPerFrame() const {
    if (layer == 1) return 384;
    return layer == 3 && level != Mpeg1 ? 576 : 1152;
}

std::size_t MpegFrameHeader::sideInfoEnd() const {
    const bool mono = channelMode == 3;
    if (level == Mpeg1) return mono ? 21 : 36;
    return mono ? 13 : 21;
}
