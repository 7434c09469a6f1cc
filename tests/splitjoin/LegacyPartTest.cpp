#include "PartSetBuilder.h"
#include "splitjoin/LegacyPart.h"
#include "support/FileBytes.h"

#include <gtest/gtest.h>

TEST(LegacyPart, ColumnOrderOfTheTranspositionKey) {
    // k u p f e r d r a h t r o l l e: a(8) d(6) e(4,15) f(3) h(9) k(0) l(13,14) o(12) p(2) r(5,7,11) t(10) u(1)
    const std::array<std::size_t, 16> expected = {8, 6, 4, 15, 3, 9, 0, 13, 14, 12, 2, 5, 7, 11, 10, 1};
    EXPECT_EQ(LegacyPart::columnOrder(), expected);
}

TEST(LegacyPart, UntransposeInvertsAtEveryLength) {
    for (std::size_t n : {0u, 1u, 15u, 16u, 17u, 33u, 1000u}) {
        const auto source = FileBytes::pattern(n, static_cast<unsigned>(n));
        const auto payload = PartSetBuilder::transpose(source);
        std::vector<std::uint8_t> out(n);
        LegacyPart::untranspose(payload.data(), out.data(), n);
        EXPECT_EQ(out, source) << n;
    }
}

TEST(LegacyPart, OldTextsEndAtLengthNulOr29Characters) {
    auto file = PartSetBuilder::oldFile("Title  ", "Artist", {1, 2, 3});
    auto info = LegacyPart::identify(file, file.size());
    ASSERT_EQ(info.kind, LegacyPart::Kind::Old);
    EXPECT_EQ(LegacyPart::proposedName(info), "Artist - Title.mp3");
    EXPECT_EQ(info.payloadOffset, 131u);

    file[38] = 200; // no usable length: the text runs to 29 characters at most
    std::fill(file.begin() + 39, file.begin() + 69, 'T');
    file[69] = 3; // "Art"
    info = LegacyPart::identify(file, file.size());
    EXPECT_EQ(info.firstText, std::string(29, 'T'));
    EXPECT_EQ(info.secondText, "Art");
}

TEST(LegacyPart, EncFieldsAreDescrambledAndMustFitTheFile) {
    const auto file = PartSetBuilder::encFile("Band", "Song", {4, 5, 6});
    auto info = LegacyPart::identify(file, file.size());
    ASSERT_EQ(info.kind, LegacyPart::Kind::Enc);
    EXPECT_EQ(LegacyPart::proposedName(info), "Band - Song.mp3");

    const std::vector<std::uint8_t> cut(file.begin(), file.begin() + 40);
    EXPECT_EQ(LegacyPart::identify(cut, cut.size()).kind, LegacyPart::Kind::None);
    const std::vector<std::uint8_t> tooShort(file.begin(), file.begin() + 7);
    EXPECT_EQ(LegacyPart::identify(tooShort, tooShort.size()).kind, LegacyPart::Kind::None);
}
