#pragma once

#include <cstddef>
#include <cstdint>

// The checksum of a part: the sum of all data bytes (0 to 255 each), wrapping at 2^32.
class ByteSum {
public:
    // Adds the bytes to a running sum, so that a part can be summed chunk by chunk.
    static std::uint32_t add(std::uint32_t sum, const std::uint8_t* data, std::size_t length);
};
