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

std::uint32_t PartData::pass(FileHandle& part, const CCode& record, std::vector<std::uint8_t>& buffer) {
    return passInto(part, record, &buffer, nullptr);
}

std::uint32_t PartData::pass(FileHandle& part, const CCode& record, Destination& destination) {
    return passInto(part, record, nullptr, &destination);
}

// Each chunk is read straight into the buffer it is written from: into the output's next buffer
// when there is an output, else into `buffer`.
std::uint32_t PartData::passInto(FileHandle& part, const CCode& record, std::vector<std::uint8_t>* buffer,
                                 Destination* destination) {
    const XorCipher cipher(record.effectiveKey());
    const bool decipher = (record.flagsAsRead & CCode::DataEnciphered) != 0;
    const std::size_t ownChunk = static_cast<std::size_t>(std::min<std::uint64_t>(WriteBehind::ChunkSize, record.dataLength));
    if (buffer && buffer->size() < ownChunk) buffer->resize(ownChunk); // a small part needs little
    part.seek(CCode::HeaderSize);
    std::uint32_t sum = 0;
    for (std::uint64_t done = 0; done < record.dataLength;) {
        const std::span<std::uint8_t> chunk =
            destination ? destination->output.nextBuffer() : std::span<std::uint8_t>(buffer->data(), ownChunk);
        const std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), record.dataLength - done));
        // The size was checked when the header loaded: fewer bytes now means the file shrank since.
        if (part.read(chunk.data(), wanted) != wanted) throw FileError(part.path(), EIO);
        if (decipher) cipher.apply(chunk.data(), wanted, done);
        sum = ByteSum::add(sum, chunk.data(), wanted);
        if (destination) {
            destination->output.write(wanted);
            if (destination->passed) destination->passed(wanted);
        }
        done += wanted;
    }
    return sum;
}
