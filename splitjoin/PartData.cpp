#include "splitjoin/PartData.h"

#include "base/FileError.h"
#include "base/FileHandle.h"
#include "base/MappedReader.h"
#include "splitjoin/ByteSum.h"
#include "splitjoin/CCode.h"
#include "splitjoin/XorCipher.h"

#include <algorithm>
#include <cerrno>

namespace {

// Data bytes summed and handed on at a time: small enough to stay in the cache between the sum
// (or the cipher) and the sink's write.
constexpr std::size_t kChunkSize = 256 * 1024;

} // namespace

// Plain data goes to the sink straight from the part's mapping; enciphered data is deciphered
// from it into the buffer and handed on from there.
std::uint32_t PartData::pass(FileHandle& part, const CCode& record, std::vector<std::uint8_t>& buffer,
                             const ChunkSink& sink) {
    const XorCipher cipher(record.effectiveKey());
    const bool decipher = (record.flagsAsRead & CCode::DataEnciphered) != 0;
    if (decipher && buffer.size() < kChunkSize) buffer.resize(kChunkSize);
    MappedReader reader(part, CCode::HeaderSize);
    std::uint32_t sum = 0;
    for (std::uint64_t done = 0; done < record.dataLength;) {
        const auto view = reader.next(static_cast<std::size_t>(std::min<std::uint64_t>(kChunkSize, record.dataLength - done)));
        // The size was checked when the header loaded: no more bytes means the file shrank since.
        if (view.empty()) throw FileError(part.path(), EIO);
        const std::size_t got = view.size();
        const std::uint8_t* plain = view.data();
        if (decipher) {
            reader.touch([&] { cipher.applyCopy(view.data(), buffer.data(), got, done); });
            plain = buffer.data();
            sum = ByteSum::add(sum, plain, got);
            if (sink) sink(plain, got);
        } else {
            reader.touch([&] { sum = ByteSum::add(sum, plain, got); });
            if (sink) reader.writeFrom([&] { sink(plain, got); });
        }
        done += got;
    }
    return sum;
}
