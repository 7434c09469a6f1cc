#include "PartSetBuilder.h"

#include "splitjoin/CCode.h"
#include "splitjoin/LegacyPart.h"
#include "splitjoin/PartNaming.h"
#include "support/FileBytes.h"

#include <numeric>

void PartSetBuilder::writeClassicSet(const std::string& firstPartPath, const std::string& sourceName,
                                     const std::vector<std::uint8_t>& source, std::size_t payload,
                                     std::uint32_t flags, const std::string& key) {
    const std::size_t count = (source.size() + payload - 1) / payload;
    CCode record;
    record.flags = flags;
    record.userKey = key;
    record.partCount = static_cast<std::uint32_t>(count);
    for (std::size_t i = 0; i < count; ++i) {
        const auto begin = source.begin() + static_cast<std::ptrdiff_t>(i * payload);
        const auto end = source.begin() + static_cast<std::ptrdiff_t>(std::min(source.size(), (i + 1) * payload));
        record.partIndex = static_cast<std::uint32_t>(i);
        record.setName(sourceName);
        record.data.assign(begin, end);
        record.dataLength = static_cast<std::uint32_t>(record.data.size());
        record.checksum = std::accumulate(begin, end, 0u);
        FileBytes::write(PartNaming::classicPartPath(firstPartPath, i), record.store());
    }
}

std::vector<std::uint8_t> PartSetBuilder::transpose(const std::vector<std::uint8_t>& source) {
    std::vector<std::uint8_t> payload;
    for (std::size_t column : LegacyPart::columnOrder())
        for (std::size_t position = column; position < source.size(); position += LegacyPart::Columns)
            payload.push_back(source[position]);
    return payload;
}

namespace {

void putText(std::vector<std::uint8_t>& header, std::size_t at, const std::string& text) {
    header[at] = static_cast<std::uint8_t>(text.size());
    std::copy(text.begin(), text.end(), header.begin() + static_cast<std::ptrdiff_t>(at + 1));
}

std::vector<std::uint8_t> scrambled(const std::string& text) {
    std::vector<std::uint8_t> field(text.begin(), text.end());
    for (std::size_t i = 0; i < field.size(); ++i) field[i] ^= static_cast<std::uint8_t>(i + 1);
    return field;
}

} // namespace

std::vector<std::uint8_t> PartSetBuilder::oldFile(const std::string& first, const std::string& second,
                                                  const std::vector<std::uint8_t>& source) {
    std::vector<std::uint8_t> file(LegacyPart::OldHeaderSize, ' ');
    file[0] = 0x13;
    const std::string signature = "abcdef2";
    std::copy(signature.begin(), signature.end(), file.begin() + 1);
    putText(file, 38, first);
    putText(file, 69, second);
    const auto payload = transpose(source);
    file.insert(file.end(), payload.begin(), payload.end());
    return file;
}

std::vector<std::uint8_t> PartSetBuilder::encFile(const std::string& field0, const std::string& field1,
                                                  const std::vector<std::uint8_t>& source) {
    std::vector<std::uint8_t> file = {'E', 'N', 'C', ' '};
    file.resize(LegacyPart::EncHeaderSize, 0x11);
    const std::vector<std::vector<std::uint8_t>> fields = {
        scrambled(field0), scrambled(field1), scrambled("x"), scrambled(""), scrambled("genre"),
        scrambled(std::string(300, 'c'))};
    for (std::size_t i = 0; i < 4; ++i) file[18 + i] = static_cast<std::uint8_t>(fields[i].size());
    for (std::size_t i = 0; i < 2; ++i) {
        file[22 + 2 * i] = static_cast<std::uint8_t>(fields[4 + i].size());
        file[23 + 2 * i] = static_cast<std::uint8_t>(fields[4 + i].size() >> 8);
    }
    for (const auto& field : fields) file.insert(file.end(), field.begin(), field.end());
    const auto payload = transpose(source);
    file.insert(file.end(), payload.begin(), payload.end());
    return file;
}
