#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

class CCode;
class FileHandle;

// Reads the data of a part whose header was just loaded, chunk by chunk: deciphers it when the
// part says so, sums it and hands each plain chunk on.
class PartData {
public:
    using ChunkSink = std::function<void(const std::uint8_t* data, std::size_t length)>;

    // Returns the byte sum of the plain data; throws FileError when the part ends too soon.
    static std::uint32_t pass(FileHandle& part, const CCode& record, std::vector<std::uint8_t>& buffer,
                              const ChunkSink& sink);
};
