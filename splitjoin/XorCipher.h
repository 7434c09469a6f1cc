#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// XOR with a repeating key: byte i of a range is XORed with key character (phase + i) modulo the
// key length. Applying it twice restores the range. The phase lets a long range be enciphered in
// chunks as if in one call.
class XorCipher {
public:
    explicit XorCipher(std::string_view key);

    void apply(std::uint8_t* data, std::size_t length, std::uint64_t phase = 0) const;
    std::size_t keyLength() const { return keyLength_; }

private:
    std::size_t keyLength_;
    // The key repeated 64 times: a whole number of keys and of 16-byte vectors at once.
    std::vector<std::uint8_t> pattern_;
};
