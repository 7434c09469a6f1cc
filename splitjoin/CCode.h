#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The header record of a part file, with its XOR cipher.
//
// On disk (little-endian): the 11-byte class record (0xFFFF, schema 0, length 5, "CCode"), part
// index, part count, checksum, flags, name length, data length (4 bytes each), the 128-byte name
// block, then the data. A part file is 163 bytes plus its data.
class CCode {
public:
    static constexpr std::size_t ClassRecordSize = 11;
    static constexpr std::size_t NameBlockSize = 128;
    static constexpr std::size_t HeaderSize = ClassRecordSize + 6 * 4 + NameBlockSize;
    static constexpr std::size_t ChecksumOffset = ClassRecordSize + 2 * 4;
    static constexpr std::size_t MaxUserKeyLength = 10;
    static constexpr std::string_view DefaultPartKey = "7A19F3C0D2B84E6691A5C3E07F2B9D41";
    static constexpr std::string_view KeyPrefix = DefaultPartKey.substr(0, 22);

    enum Flag : std::uint32_t {
        NameEnciphered = 1,
        DataEnciphered = 2,
        GeoNaming = 4,
        UserKeyGiven = 8,
    };
    static constexpr std::uint32_t KnownFlags = 15;

    // A new record: fields zero, no data, empty user key, the name block full of random filler.
    CCode();

    std::uint32_t partIndex = 0;
    std::uint32_t partCount = 0;
    std::uint32_t checksum = 0;
    std::uint32_t flags = 0;
    std::uint32_t nameLength = 0;
    std::uint32_t dataLength = 0;
    std::array<std::uint8_t, NameBlockSize> nameBlock{};
    std::vector<std::uint8_t> data; // empty: the record has no data
    std::uint32_t flagsAsRead = 0;
    std::string userKey;

    // The default part key, or the key prefix followed by the user key.
    std::string effectiveKey() const;
    // XORs a range with the effective key, starting at key character (phase mod key length).
    void ApplyKey(std::uint8_t* range, std::size_t length, std::uint64_t phase = 0) const;

    // Puts the name and its NUL at the start of the name block, leaving the bytes after the NUL.
    // A name of more than 127 bytes is cut at a character boundary.
    void setName(std::string_view name);
    // The bytes of the name block before its first NUL (all 128 when there is none).
    std::string name() const;

    // Store steps 1 to 3: the class record, the six fields and the name block, the name
    // enciphered when the flags say so. The name block stays enciphered afterwards.
    std::array<std::uint8_t, HeaderSize> storeHeader();
    // The whole part file: storeHeader() and the data, enciphered in place when the flags say so.
    std::vector<std::uint8_t> store();

    // Reads the class record, the six fields and the name block of a part file of fileSize bytes
    // and deciphers the name. False when the bytes are no part header, or when the file is too
    // short for the data it announces.
    bool loadHeader(std::span<const std::uint8_t> header, std::uint64_t fileSize);
    // True after loadHeader when the part carries data: its length is not 0 and smaller than
    // the part file.
    bool announcesData(std::uint64_t fileSize) const;
    // Loads a whole part file held in memory: the header and the deciphered data.
    bool load(std::span<const std::uint8_t> file);

    // True when the bytes start with the class record of a part, whether or not the rest holds.
    static bool startsWithClassRecord(std::span<const std::uint8_t> bytes);

    // A field as it lies on disk, little-endian.
    static std::array<std::uint8_t, 4> fieldBytes(std::uint32_t value);

private:
    void decipherName();
};
