#include "splitjoin/SplitSize.h"

#include <gtest/gtest.h>

TEST(SplitSize, FromText) {
    struct Case {
        const char* text;
        std::optional<std::uint64_t> bytes;
    };
    for (const Case& c : {Case{"0.0 MB unsplit", 0}, Case{"0.4 MB", 400'000}, Case{"1.0 MB", 1'000'000},
                          Case{"1.4 MB", 1'400'000}, Case{"1.8 MB", 1'800'000}, Case{"5.0 MB", 5'000'000},
                          Case{"  2.5MB", 2'500'000}, Case{"100", 100'000'000}, Case{".5", 500'000},
                          Case{"0.0000019", 1}, Case{"abc", std::nullopt}, Case{"", std::nullopt},
                          Case{"-1 MB", std::nullopt}, Case{"99999999999999999999", std::nullopt}}) {
        EXPECT_EQ(SplitSize::fromText(c.text), c.bytes) << c.text;
    }
}
