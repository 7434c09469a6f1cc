#include "splitjoin/CCode.h"

#include "base/Utf8Text.h"
#include "splitjoin/XorCipher.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <random>

namespace {

constexpr std::array<std::uint8_t, CCode::ClassRecordSize> kClassRecord = {
    0xFF, 0xFF, 0x00, 0x00, 0x05, 0x00, 'C', 'C', 'o', 'd', 'e'};


std::uint32_t getField(const std::uint8_t* at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | at[i];
    return value;
}

} // namespace

CCode::CCode() {
    // Filler only: its bytes carry no meaning, so a clock-seeded generator is enough.
    const auto seed = std::chrono::system_clock::now().time_since_epoch().count();
    std::minstd_rand generator(static_cast<std::minstd_rand::result_type>(seed));
    for (auto& byte : nameBlock) byte = static_cast<std::uint8_t>(generator() & 0xFFu);
}

std::string CCode::effectiveKey() const {
    if (userKey.empty()) return std::string(DefaultPartKey);
    return std::string(KeyPrefix) + userKey;
}

void CCode::ApplyKey(std::uint8_t* range, std::size_t length, std::uint64_t phase) const {
    XorCipher(effectiveKey()).apply(range, length, phase);
}

void CCode::setName(std::string_view name) {
    const std::string_view fitting = Utf8Text::cutAtBoundary(name, NameBlockSize - 1);
    std::memcpy(nameBlock.data(), fitting.data(), fitting.size());
    nameBlock[fitting.size()] = 0;
}

std::string CCode::name() const {
    const auto end = std::find(nameBlock.begin(), nameBlock.end(), 0);
    return std::string(nameBlock.begin(), end);
}

std::array<std::uint8_t, CCode::HeaderSize> CCode::storeHeader() {
    if (flags & NameEnciphered) {
        nameLength = static_cast<std::uint32_t>(name().size());
        ApplyKey(nameBlock.data(), nameLength);
    }
    std::array<std::uint8_t, HeaderSize> header{};
    std::copy(kClassRecord.begin(), kClassRecord.end(), header.begin());
    std::uint8_t* field = header.data() + ClassRecordSize;
    for (std::uint32_t value : {partIndex, partCount, checksum, flags, nameLength, dataLength}) {
        const auto bytes = fieldBytes(value);
        std::copy(bytes.begin(), bytes.end(), field);
        field += 4;
    }
    std::copy(nameBlock.begin(), nameBlock.end(), field);
    return header;
}

std::vector<std::uint8_t> CCode::store() {
    const auto header = storeHeader();
    std::vector<std::uint8_t> file(header.begin(), header.end());
    const std::size_t length = std::min<std::size_t>(dataLength, data.size());
    if (flags & DataEnciphered) ApplyKey(data.data(), length);
    file.insert(file.end(), data.begin(), data.begin() + static_cast<std::ptrdiff_t>(length));
    return file;
}

bool CCode::loadHeader(std::span<const std::uint8_t> header, std::uint64_t fileSize) {
    if (header.size() < HeaderSize || fileSize < HeaderSize) return false;
    if (!startsWithClassRecord(header)) return false;
    const std::uint8_t* field = header.data() + ClassRecordSize;
    partIndex = getField(field);
    partCount = getField(field + 4);
    checksum = getField(field + 8);
    flags = getField(field + 12);
    nameLength = getField(field + 16);
    dataLength = getField(field + 20);
    flagsAsRead = flags;
    std::copy_n(field + 24, NameBlockSize, nameBlock.begin());
    data.clear();
    if (announcesData(fileSize) && fileSize - HeaderSize < dataLength) return false;
    decipherName();
    return true;
}

bool CCode::startsWithClassRecord(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= ClassRecordSize && std::equal(kClassRecord.begin(), kClassRecord.end(), bytes.begin());
}

bool CCode::announcesData(std::uint64_t fileSize) const {
    return dataLength != 0 && dataLength < fileSize;
}

bool CCode::load(std::span<const std::uint8_t> file) {
    if (!loadHeader(file, file.size())) return false;
    if (announcesData(file.size())) {
        data.assign(file.begin() + HeaderSize, file.begin() + HeaderSize + dataLength);
        if (flags & DataEnciphered) {
            ApplyKey(data.data(), data.size());
            flags &= ~static_cast<std::uint32_t>(DataEnciphered);
        }
    }
    return true;
}

void CCode::decipherName() {
    if (!(flags & NameEnciphered)) return;
    // A damaged header may announce more name bytes than the block holds.
    ApplyKey(nameBlock.data(), std::min<std::size_t>(nameLength, NameBlockSize));
    flags &= ~static_cast<std::uint32_t>(NameEnciphered);
}

std::array<std::uint8_t, 4> CCode::fieldBytes(std::uint32_t value) {
    return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}
