#pragma once

#include "platform/xaudio/MpegFrameHeader.h"

#include <cstdint>
#include <optional>

class FileHandle;

// What a full walk over the frames of an MPEG audio file finds.
struct MpegStreamFacts {
    MpegFrameHeader first;          // the first audio frame (the header frame when there is none)
    std::uint32_t frames = 0;       // audio frames; a Xing, Info or VBRI header frame is not one
    std::uint64_t audioBytes = 0;   // bytes of those frames
    double seconds = 0;
    bool headerFrame = false;       // the stream starts with a Xing, Info or VBRI frame
    int variations = 0;             // VariationBit set for each property that changes
    int averageBitrate() const;     // bit/s over the audio frames
};

enum VariationBit { LevelVaries = 1, LayerVaries = 2, BitrateVaries = 4, FrequencyVaries = 8, ModeVaries = 16, ChannelsVaries = 32 };

// Walks from frame header to frame header. A frame is taken only when the header behind it is
// valid too (or it ends exactly where the audio ends); after damage the walk looks for the next
// such pair. Reads the file in large blocks, so a walk costs little more than reading the file.
class MpegStreamScanner {
public:
    // None when the file cannot be read or holds no MPEG audio frame. With firstFrameOnly the
    // walk ends at the first audio frame. The file is left open at any position.
    static std::optional<MpegStreamFacts> scan(FileHandle& file, bool firstFrameOnly = false);
};
