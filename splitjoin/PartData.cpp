#include "splitjoin/PartData.h"

#include "base/FileError.h"
#include "base/FileHandle.h"
#include "splitjoin/ByteSum.h"
#include "splitjoin/CCode.h"
#include "splitjoin/XorCipher.h"

#include <algorithm>
#include <cerrno>

std::uint32_t PartData::pass(FileHandle& part, const CCode& record, std::vector<std::uint8_t>& buffer,
                             const ChunkSink& sink) {
    if (buffer.empty()) buffer.resize(512 * 1024);
    const XorCipher cipher(record.effectiveKey());
    const bool decipher = (record.flagsAsRead & CCode::DataEnciphered) != 0;
    std::uint32_t sum = 0;
    for (std::uint64_t done = 0; done < record.dataLength;) {
        const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), record.dataLength - done));
        // The size was checked when the header loaded: a short read means the file shrank since.
        if (part.read(buffer.data(), want) != want) throw FileError(part.path(), EIO);
        if (decipher) cipher.apply(buffer.data(), want, done);
        sum = ByteSum::add(sum, buffer.data(), want);
        if (sink) sink(buffer.data(), want);
        done += want;
    }
    return sum;
}
