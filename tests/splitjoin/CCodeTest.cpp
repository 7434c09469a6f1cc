#include "splitjoin/CCode.h"

#include <gtest/gtest.h>

#include <numeric>

namespace {

std::vector<std::uint8_t> bytesOf(std::string_view text) { return {text.begin(), text.end()}; }

CCode recordWith(std::uint32_t flags, const std::string& key, std::string_view name,
                 const std::vector<std::uint8_t>& data) {
    CCode record;
    record.flags = flags;
    record.userKey = key;
    record.partIndex = 3;
    record.partCount = 9;
    record.setName(name);
    record.data = data;
    record.dataLength = static_cast<std::uint32_t>(data.size());
    record.checksum = std::accumulate(data.begin(), data.end(), 0u);
    return record;
}

} // namespace

TEST(CCode, StoresTheByteLayoutOfAPart) {
    CCode record = recordWith(CCode::NameEnciphered | CCode::GeoNaming, "", "ab", bytesOf("xyz"));
    record.nameBlock.fill(0x55);
    record.setName("ab");
    const std::vector<std::uint8_t> file = record.store();

    std::vector<std::uint8_t> expected = {0xFF, 0xFF, 0, 0, 5, 0, 'C', 'C', 'o', 'd', 'e'};
    for (std::uint32_t field : {3u, 9u, 'x' + 'y' + 'z' + 0u, 5u, 2u, 3u})
        for (int k = 0; k < 4; ++k) expected.push_back(static_cast<std::uint8_t>(field >> (8 * k)));
    // The name enciphered with the default key's first two characters, then its NUL and filler.
    expected.push_back('a' ^ '7');
    expected.push_back('b' ^ 'A');
    expected.push_back(0);
    expected.insert(expected.end(), 125, 0x55);
    expected.insert(expected.end(), {'x', 'y', 'z'});

    ASSERT_EQ(file.size(), 163u + 3u);
    EXPECT_EQ(file, expected);
}

TEST(CCode, EffectiveKeyIsDefaultOrPrefixPlusUserKey) {
    CCode record;
    EXPECT_EQ(record.effectiveKey(), "7A19F3C0D2B84E6691A5C3E07F2B9D41");
    record.userKey = "xyz";
    EXPECT_EQ(record.effectiveKey(), "7A19F3C0D2B84E6691A5C3xyz");
    EXPECT_EQ(record.effectiveKey().size(), 25u);
}

TEST(CCode, EveryFlagCombinationAndKeyRoundTrips) {
    const std::vector<std::uint8_t> data(1000, 0xA7);
    for (std::uint32_t flags = 0; flags <= CCode::KnownFlags; ++flags) {
        for (const std::string key : {"", "k", "0123456789"}) {
            SCOPED_TRACE("flags " + std::to_string(flags) + " key '" + key + "'");
            CCode written = recordWith(flags, key, "Hänsel & Gretel.mp3", data);
            const std::vector<std::uint8_t> file = written.store();

            CCode read;
            read.userKey = key;
            ASSERT_TRUE(read.load(file));
            EXPECT_EQ(read.name(), "Hänsel & Gretel.mp3");
            EXPECT_EQ(read.flagsAsRead, flags);
            EXPECT_EQ(read.flags, flags & ~3u);
            EXPECT_EQ(read.partIndex, 3u);
            EXPECT_EQ(read.partCount, 9u);
            EXPECT_EQ(read.data, data);
            EXPECT_EQ(std::accumulate(read.data.begin(), read.data.end(), 0u), read.checksum);
        }
    }
}

TEST(CCode, AnotherKeyGarblesNameAndFailsTheChecksum) {
    // The user key follows the 22-character prefix: only bytes from position 22 on depend on it.
    const std::string name = "a rather long song name.mp3";
    const std::vector<std::uint8_t> data(64, 0x20);
    const std::vector<std::uint8_t> file = recordWith(3, "right", name, data).store();
    CCode read;
    read.userKey = "wrong";
    ASSERT_TRUE(read.load(file));
    EXPECT_EQ(read.name().substr(0, 22), name.substr(0, 22));
    EXPECT_NE(read.name(), name);
    EXPECT_NE(std::accumulate(read.data.begin(), read.data.end(), 0u), read.checksum);
}

TEST(CCode, EmptySliceAndEmptyName) {
    CCode record = recordWith(CCode::NameEnciphered, "", "", {});
    const auto filler = record.nameBlock;
    const std::vector<std::uint8_t> file = record.store();
    EXPECT_EQ(record.nameLength, 0u);
    EXPECT_EQ(record.nameBlock, filler); // nothing was enciphered
    CCode read;
    ASSERT_TRUE(read.load(file));
    EXPECT_EQ(read.dataLength, 0u);
    EXPECT_EQ(read.checksum, 0u);
    EXPECT_TRUE(read.data.empty());
}

TEST(CCode, LongNamesAreCutAtACharacterAndKeepTheirNul) {
    CCode record;
    const std::string name = std::string(126, 'a') + "ä.mp3"; // "ä" would straddle byte 127
    record.setName(name);
    EXPECT_EQ(record.name(), std::string(126, 'a'));
    EXPECT_EQ(record.nameBlock[126], 0);
}

TEST(CCode, DamagedFilesFailOrLoadWithoutData) {
    std::vector<std::uint8_t> file = recordWith(1, "", "n", {9, 9, 9}).store();
    CCode read;
    EXPECT_FALSE(read.load(std::span(file).first(162))) << "shorter than a header";
    EXPECT_FALSE(read.load(std::span(file).first(164))) << "ends inside the announced data";

    auto badClass = file;
    badClass[6] = 'X';
    EXPECT_FALSE(read.load(badClass));

    // A data length not below the file size means: no data.
    auto hugeLength = file;
    hugeLength[31] = hugeLength[32] = hugeLength[33] = hugeLength[34] = 0xFF;
    ASSERT_TRUE(read.load(hugeLength));
    EXPECT_TRUE(read.data.empty());

    // A name length past the block is kept inside it, and a block without NUL gives 128 bytes.
    auto wildName = file;
    wildName[27] = wildName[28] = wildName[29] = wildName[30] = 0xFF;
    std::fill(wildName.begin() + 35, wildName.begin() + 163, 'z');
    ASSERT_TRUE(read.load(wildName));
    EXPECT_EQ(read.name().size(), 128u);
}
