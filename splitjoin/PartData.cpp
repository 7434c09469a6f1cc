#include "splitjoin/PartData.h"

#include "base/FileError.h"
#include "base/FileHandle.h"
#include "base/WriteBehind.h"
#include "splitjoin/ByteSum.h"
#include "splitjoin/CCode.h"
#include "splitjoin/XorCipher.h"

#include <algorithm>
#include <cerrno>
#include <span>

namespace {

// The pass itself: each chunk is read straight into the buffer nextChunk() gives, deciphered,
// summed and handed to passed(length).
template <typename NextChunk, typename Passed>
std::uint32_t passChunks(FileHandle& part, const CCode& record, NextChunk nextChunk, Passed passed) {
    const XorCipher cipher(record.effectiveKey());
    const bool decipher = (record.flagsAsRead & CCode::DataEnciphered) != 0;
    part.seek(CCode::HeaderSize);
    std::uint32_t sum = 0;
    for (std::uint64_t done = 0; done < record.dataLength;) {
        const std::span<std::uint8_t> chunk = nextChunk();
        const std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), record.dataLength - done));
        // The size was checked when the header loaded: fewer bytes now means the file shrank since.
        if (part.read(chunk.data(), wanted) != wanted) throw FileError(part.path(), EIO);
        if (decipher) cipher.apply(chunk.data(), wanted, done);
        sum = ByteSum::add(sum, chunk.data(), wanted);
        passed(wanted);
        done += wanted;
    }
    return sum;
}

} // namespace

std::uint32_t PartData::pass(FileHandle& part, const CCode& record, std::vector<std::uint8_t>& buffer) {
    const std::size_t chunk = static_cast<std::size_t>(std::min<std::uint64_t>(WriteBehind::ChunkSize, record.dataLength));
    if (buffer.size() < chunk) buffer.resize(chunk); // a small part needs little
    return passChunks(part, record, [&] { return std::span<std::uint8_t>(buffer.data(), chunk); }, [](std::size_t) {});
}

std::uint32_t PartData::pass(FileHandle& part, const CCode& record, Destination& destination) {
    return passChunks(part, record, [&] { return destination.output.nextBuffer(); },
                      [&](std::size_t length) {
                          destination.output.write(length);
                          if (destination.passed) destination.passed(length);
                      });
}
