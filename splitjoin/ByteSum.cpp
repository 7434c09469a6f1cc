#include "splitjoin/ByteSum.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

std::uint32_t ByteSum::add(std::uint32_t sum, const std::uint8_t* data, std::size_t length) {
    std::size_t i = 0;
#ifdef __SSE2__
    // PSADBW against zero adds 8 bytes into each 64-bit lane: 16 bytes a step, no overflow.
    const __m128i zero = _mm_setzero_si128();
    __m128i lanes0 = zero, lanes1 = zero;
    for (; i + 32 <= length; i += 32) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i + 16));
        lanes0 = _mm_add_epi64(lanes0, _mm_sad_epu8(a, zero));
        lanes1 = _mm_add_epi64(lanes1, _mm_sad_epu8(b, zero));
    }
    const __m128i lanes = _mm_add_epi64(lanes0, lanes1);
    alignas(16) std::uint64_t parts[2];
    _mm_store_si128(reinterpret_cast<__m128i*>(parts), lanes);
    sum += static_cast<std::uint32_t>(parts[0] + parts[1]);
#endif
    for (; i < length; ++i) sum += data[i];
    return sum;
}
