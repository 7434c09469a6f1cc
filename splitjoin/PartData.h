#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

class CCode;
class FileHandle;
class WriteBehind;

// Reads the data of a part whose header was just loaded, chunk by chunk: deciphers it when the
// part says so, sums it and hands each plain chunk on.
class PartData {
public:
    // Where the plain data goes: into an output file, each chunk written while the next one is
    // read and summed; `passed` learns the length of each chunk once it is on its way.
    struct Destination {
        WriteBehind& output;
        std::function<void(std::size_t length)> passed = {};
    };

    // Each returns the byte sum of the plain data and throws FileError when the part ends too
    // soon. The first only sums, in `buffer`; the second also hands the data on.
    static std::uint32_t pass(FileHandle& part, const CCode& record, std::vector<std::uint8_t>& buffer);
    static std::uint32_t pass(FileHandle& part, const CCode& record, Destination& destination);
};
