#pragma once

#include <cstdint>

class FileHandle;

// The part of an MPEG audio file that holds frames: behind any ID3v2 tags at its start (with
// their footers), before the ID3v1, APE, Lyrics3 and appended ID3v2 blocks at its end.
struct AudioRegion {
    std::uint64_t begin = 0;
    std::uint64_t end = 0;

    static AudioRegion of(FileHandle& file);
};
