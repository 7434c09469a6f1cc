#include "platform/xaudio/AudioRegion.h"

#include "base/FileHandle.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

namespace {

std::uint32_t syncsafe(const unsigned char* b) {
    return (std::uint32_t(b[0] & 0x7F) << 21) | (std::uint32_t(b[1] & 0x7F) << 14) |
           (std::uint32_t(b[2] & 0x7F) << 7) | std::uint32_t(b[3] & 0x7F);
}

std::uint32_t littleEndian32(const unsigned char* b) {
    return std::uint32_t(b[0]) | (std::uint32_t(b[1]) << 8) | (std::uint32_t(b[2]) << 16) | (std::uint32_t(b[3]) << 24);
}

// length bytes at offset, fewer when the file ends first.
std::vector<unsigned char> bytesAt(FileHandle& file, std::uint64_t offset, std::size_t length) {
    std::vector<unsigned char> bytes(length);
    file.seek(offset);
    bytes.resize(file.read(bytes.data(), length));
    return bytes;
}

bool startsWith(const std::vector<unsigned char>& bytes, std::size_t at, std::string_view text) {
    return at + text.size() <= bytes.size() && std::memcmp(bytes.data() + at, text.data(), text.size()) == 0;
}

// The size of the block that ends at end, 0 when none does.
std::uint64_t trailingBlock(FileHandle& file, std::uint64_t begin, std::uint64_t end) {
    const std::uint64_t look = std::min<std::uint64_t>(end - begin, 5120 + 20);
    const std::vector<unsigned char> tail = bytesAt(file, end - look, static_cast<std::size_t>(look));
    const std::size_t n = tail.size();
    if (n >= 128 && startsWith(tail, n - 128, "TAG")) return 128;
    if (n >= 32 && startsWith(tail, n - 32, "APETAGEX")) {
        const std::uint64_t size = littleEndian32(tail.data() + n - 20);
        const bool hasHeader = (littleEndian32(tail.data() + n - 12) & 0x80000000u) != 0;
        return size + (hasHeader ? 32 : 0);
    }
    if (n >= 15 && startsWith(tail, n - 9, "LYRICS200")) {
        std::uint64_t size = 0;
        for (std::size_t i = n - 15; i < n - 9; ++i) {
            if (tail[i] < '0' || tail[i] > '9') return 0;
            size = size * 10 + (tail[i] - '0');
        }
        return size + 15;
    }
    if (n >= 9 && startsWith(tail, n - 9, "LYRICSEND")) {
        const std::string_view text(reinterpret_cast<const char*>(tail.data()), n);
        const std::size_t start = text.rfind("LYRICSBEGIN");
        return start == std::string_view::npos ? 0 : n - start;
    }
    if (n >= 10 && startsWith(tail, n - 10, "3DI")) return std::uint64_t(syncsafe(tail.data() + n - 4)) + 20;
    return 0;
}

} // namespace

AudioRegion AudioRegion::of(FileHandle& file) {
    AudioRegion region;
    region.end = file.size();
    while (region.begin + 10 <= region.end) {
        const auto header = bytesAt(file, region.begin, 10);
        if (!startsWith(header, 0, "ID3") || header.size() < 10) break;
        const bool footer = (header[5] & 0x10) != 0;
        region.begin = std::min(region.end, region.begin + 10 + syncsafe(header.data() + 6) + (footer ? 10 : 0));
    }
    while (region.end > region.begin) {
        const std::uint64_t block = trailingBlock(file, region.begin, region.end);
        if (block == 0) break;
        region.end -= std::min(block, region.end - region.begin);
    }
    return region;
}
