#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The folders of a split and join in the test home folder, all created: the source file
// "Beach Day 2026.mpg" of pattern bytes in "Holiday Videos"; the parts go to "upload" and the
// joined file to "rebuilt".
struct SplitJoinFolders {
    SplitJoinFolders(std::size_t sourceBytes, unsigned seed);

    std::string sources, parts, rebuilt;
    std::vector<std::uint8_t> source;
};
