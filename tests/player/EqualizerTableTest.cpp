#include "player/EqualizerTable.h"

#include <gtest/gtest.h>

TEST(EqualizerTableTest, SlidersCoverTheirBandsNegatedOnBothChannels) {
    EqualizerTable::Positions positions{};
    positions[7] = -100; // slider 1096 at its top end
    positions[2] = 7;
    const EqualizerTable::Bytes bytes = EqualizerTable::build(positions);
    for (int band = 0; band < 32; ++band) {
        const int expected = band >= 20 ? 100 : (band == 2 || band == 3) ? -7 : 0;
        EXPECT_EQ(bytes[band], expected) << band;
        EXPECT_EQ(bytes[32 + band], expected) << band;
    }
}

TEST(EqualizerTableTest, PositionsOutsideARangeAreClampedFirst) {
    EqualizerTable::Positions positions{50, -50, 31, 0, 0, 81, -91, 200};
    const EqualizerTable::Bytes bytes = EqualizerTable::build(positions);
    EXPECT_EQ(bytes[0], -20);
    EXPECT_EQ(bytes[1], 20);
    EXPECT_EQ(bytes[2], -30);
    EXPECT_EQ(bytes[8], -80);
    EXPECT_EQ(bytes[14], 90);
    EXPECT_EQ(bytes[31], -100);
    // A reported table moves the sliders back to the clamped positions.
    EXPECT_EQ(EqualizerTable::positionsOf(bytes.data()), (EqualizerTable::Positions{20, -20, 30, 0, 0, 80, -90, 100}));
}
