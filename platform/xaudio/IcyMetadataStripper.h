#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Shoutcast-style servers that answer with an "icy-metaint: N" header put a metadata block (the
// stream title) after every N bytes of audio: one length byte L, then L * 16 bytes of text. The
// decoder must never see those blocks: they would come out as noise or lost frames. Blocks may be
// split anywhere across the pieces the network delivers.
class IcyMetadataStripper {
public:
    // The interval of the response that starts now; 0 when it carries no metadata.
    void start(std::size_t interval);
    // Appends the audio bytes of `data` to `audio`, leaving out the metadata.
    void strip(const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t>& audio);

private:
    std::size_t interval_ = 0;
    std::size_t audioLeft_ = 0;    // audio bytes before the next length byte
    std::size_t metadataLeft_ = 0; // bytes of the current block still to skip
};
