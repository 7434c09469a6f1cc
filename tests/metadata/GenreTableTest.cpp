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
