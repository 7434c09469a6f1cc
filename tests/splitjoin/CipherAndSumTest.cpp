#include "splitjoin/ByteSum.h"
#include "splitjoin/XorCipher.h"
#include "support/FileBytes.h"

#include <gtest/gtest.h>

TEST(ByteSum, MatchesAPlainSumAtEveryTailLength) {
    const auto bytes = FileBytes::pattern(300);
    for (std::size_t length = 0; length <= bytes.size(); ++length) {
        std::uint32_t expected = 7;
        for (std::size_t i = 0; i < length; ++i) expected += bytes[i];
        ASSERT_EQ(ByteSum::add(7, bytes.data(), length), expected) << length;
    }
}

TEST(ByteSum, WrapsAtTwoToThe32) {
    const std::vector<std::uint8_t> ones(17'000'000, 0xFF); // 4,335,000,000 in all
    EXPECT_EQ(ByteSum::add(0, ones.data(), ones.size()),
              static_cast<std::uint32_t>(17'000'000ull * 0xFF));
}

TEST(XorCipher, ChunksWithPhaseEqualOneCallAndTwiceRestores) {
    const auto original = FileBytes::pattern(5000);
    for (const std::string key : {"7A19F3C0D2B84E6691A5C3abc", "7A19F3C0D2B84E6691A5C3E07F2B9D41"}) {
        auto whole = original;
        XorCipher(key).apply(whole.data(), whole.size());
        for (std::size_t i = 0; i < whole.size(); ++i)
            ASSERT_EQ(whole[i], original[i] ^ static_cast<std::uint8_t>(key[i % key.size()]));

        auto chunked = original;
        const XorCipher cipher(key);
        for (std::size_t at = 0; at < chunked.size(); at += 777)
            cipher.apply(chunked.data() + at, std::min<std::size_t>(777, chunked.size() - at), at);
        EXPECT_EQ(chunked, whole);

        cipher.apply(whole.data(), whole.size());
        EXPECT_EQ(whole, original);
    }
}
