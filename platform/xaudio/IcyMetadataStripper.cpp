#include "platform/xaudio/IcyMetadataStripper.h"

#include <algorithm>

void IcyMetadataStripper::start(std::size_t interval) {
    interval_ = interval;
    audioLeft_ = interval;
    metadataLeft_ = 0;
}

void IcyMetadataStripper::strip(const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t>& audio) {
    if (interval_ == 0) {
        audio.insert(audio.end(), data, data + size);
        return;
    }
    while (size > 0) {
        std::size_t used = 0;
        if (metadataLeft_ > 0) {
            used = std::min(size, metadataLeft_);
            metadataLeft_ -= used;
            if (metadataLeft_ == 0) audioLeft_ = interval_;
        } else if (audioLeft_ > 0) {
            used = std::min(size, audioLeft_);
            audio.insert(audio.end(), data, data + used);
            audioLeft_ -= used;
        } else { // the length byte of the next block
            used = 1;
            metadataLeft_ = static_cast<std::size_t>(data[0]) * 16;
            if (metadataLeft_ == 0) audioLeft_ = interval_;
        }
        data += used;
        size -= used;
    }
}
