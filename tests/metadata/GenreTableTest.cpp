#include "metadata/GenreTable.h"

#include <gtest/gtest.h>

TEST(GenreTableTest, NamesAndNumbersBothWays) {
    EXPECT_EQ(GenreTable::Count, 148);
    EXPECT_EQ(GenreTable::name(0), "Blues");
    EXPECT_EQ(GenreTable::name(17), "Rock");
    EXPECT_EQ(GenreTable::name(147), "Synth Pop");
    EXPECT_EQ(GenreTable::name(148), "");
    EXPECT_EQ(GenreTable::name(-1), "");
    EXPECT_EQ(GenreTable::indexOf("Psychedelic Rock"), 93);
    EXPECT_EQ(GenreTable::indexOf("rock"), -1);
    EXPECT_EQ(GenreTable::indexOfIgnoringCase("rock"), 17);
    for (int i = 0; i < GenreTable::Count; ++i) EXPECT_EQ(GenreTable::indexOf(GenreTable::name(i)), i);
}

// The ID3v2 genre text: the tag record keeps its parts, the analyser's record one genre byte.
TEST(GenreTableTest, Id3v2GenreTexts) {
    const struct {
        const char* text;
        std::optional<int> reference;
        const char* name;
        int number;
    } cases[] = {
        {"(17)Rock", 17, "Rock", 17},     {"(17)", 17, "", 17},         {"Rock", std::nullopt, "Rock", 17},
        {"31", std::nullopt, "31", 31},   {"(x)Odd", std::nullopt, "Odd", -1},
        {"(RX)Rock", std::nullopt, "Rock", 17}, // a refinement code is no number: the name counts
        {"(300)", 300, "", -1},           {"256", std::nullopt, "256", -1}, {"My Own", std::nullopt, "My Own", -1},
        {"Rock (live)", std::nullopt, "Rock (live)", -1}, {"", std::nullopt, "", -1},
        {"(99999999999)", 2147483647, "", -1}, // held at the largest number, never overflowing
    };
    for (const auto& c : cases) {
        const GenreTable::Id3v2Genre genre = GenreTable::parseId3v2(c.text);
        EXPECT_EQ(genre.reference, c.reference) << c.text;
        EXPECT_EQ(genre.name, c.name) << c.text;
        EXPECT_EQ(GenreTable::numberOfId3v2(c.text), c.number) << c.text;
    }
}
