#include "splitjoin/XorCipher.h"

#include <algorithm>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

// data ^= with
void xorBytes(std::uint8_t* data, const std::uint8_t* __restrict with, std::size_t n) {
    std::size_t i = 0;
#ifdef __SSE2__
    for (; i + 16 <= n; i += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(with + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(data + i), _mm_xor_si128(a, b));
    }
#endif
    for (; i < n; ++i) data[i] ^= with[i];
}

} // namespace

XorCipher::XorCipher(std::string_view key) : keyLength_(key.size()) {
    pattern_.reserve(key.size() * 64);
    for (int copy = 0; copy < 64; ++copy) pattern_.insert(pattern_.end(), key.begin(), key.end());
}

void XorCipher::apply(std::uint8_t* data, std::size_t length, std::uint64_t phase) const {
    if (keyLength_ == 0) return;
    std::size_t offset = static_cast<std::size_t>(phase % keyLength_);
    while (length > 0) {
        const std::size_t step = std::min(length, pattern_.size() - offset);
        xorBytes(data, pattern_.data() + offset, step);
        data += step;
        length -= step;
        offset = 0; // pattern_ holds whole keys, so its start continues the key where it ended
    }
}
