#pragma once

#include <cstdint>
#include <optional>
#include <string>

// What one file tells about itself as a part: its kind and, for a "CCode" part, its header and
// whether its checksum holds with a given key.
struct PartInfo {
    int type = 0;                  // see PartType
    bool isPart = false;           // a "CCode" part
    bool isLegacy = false;         // an OLD or ENC file
    std::uint32_t index = 0;
    std::uint32_t count = 0;
    std::uint32_t flags = 0;
    std::uint64_t dataLength = 0;
    std::string name;              // the name from the header, or the proposed name
    bool checksumHolds = false;

    // Empty with errorNumber set when the file cannot be opened; a file of no known kind gives
    // an info with neither isPart nor isLegacy. Throws FileError on a read error.
    static std::optional<PartInfo> read(const std::string& path, const std::string& userKey,
                                        int& errorNumber);
};
