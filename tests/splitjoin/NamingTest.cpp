#include "base/Utf8Text.h"
#include "splitjoin/NameSanitizer.h"
#include "splitjoin/PartNaming.h"
#include "splitjoin/PartType.h"

#include <gtest/gtest.h>

TEST(PartNaming, GeoAndClassicNumbers) {
    struct Case {
        std::uint64_t index;
        const char* geo;
        const char* classic;
    };
    for (const Case& c : {Case{0, "/x/song00.ppt", "/x/song.s00"}, Case{7, "/x/song07.ppt", "/x/song.s07"},
                          Case{12, "/x/song12.ppt", "/x/song.s12"}, Case{99, "/x/song99.ppt", "/x/song.s99"},
                          Case{100, "/x/song100.ppt", "/x/song.s100"},
                          Case{1000, "/x/song1000.ppt", "/x/song.s1000"}}) {
        EXPECT_EQ(PartNaming::geoPartPath("/x/song00.ppt", c.index), c.geo);
        EXPECT_EQ(PartNaming::classicPartPath("/x/song.s00", c.index), c.classic);
    }
}

TEST(PartNaming, PartZeroFromAnyPartOfAGeoSet) {
    struct Case {
        const char* part;
        std::uint64_t index;
        const char* partZero;
    };
    for (const Case& c : {Case{"/x/s03.ppt", 3, "/x/s00.ppt"}, Case{"/x/s100.ppt", 100, "/x/s00.ppt"},
                          Case{"/x/s1234.ppt", 1234, "/x/s00.ppt"},
                          Case{"/x/song2001.ppt", 1, "/x/song2000.ppt"},      // a stem that ends in digits
                          Case{"/x/song20100.ppt", 100, "/x/song2000.ppt"},
                          Case{"/x/renamed.ppt", 100, "/x/renam00.ppt"}}) { // not its number: as part 0's rule
        SCOPED_TRACE(c.part);
        EXPECT_EQ(PartNaming::geoPartZeroPath(c.part, c.index), c.partZero);
    }
}

TEST(PartNaming, NamesStayInTheirFolder) {
    EXPECT_EQ(PartNaming::geoPartPath("/out/abc.ppt", 1), "/out/a01.ppt");
    EXPECT_EQ(PartNaming::geoPartPath("/out/a.ppt", 1), "/out/01.ppt");      // never cuts "/out"
    EXPECT_EQ(PartNaming::geoPartPath("/o.d/song05", 2), "/o.d/song02.");     // a folder's dot is no extension
    EXPECT_EQ(PartNaming::classicPartPath("/o.d/song", 3), "/o.d/song03");
    EXPECT_EQ(PartNaming::geoStem("/web/my_song00.ppt"), "/web/my_song");
}

TEST(PartType, Labels) {
    const char* expected[] = {"None", "Name", "Data", "VYX", "GEO", "GN",  "GD",    "GVYX", "PART",
                              "PN",   "PD",   "PVYX", "GP",  "GPN", "GPD", "GPVYX", "ENC",  "OLD"};
    for (int type = 0; type < 18; ++type) EXPECT_EQ(PartType::label(type), expected[type]);
    EXPECT_EQ(PartType::label(18), "None");
    EXPECT_EQ(PartType::label(-1), "None");
}

TEST(NameSanitizer, OutputStems) {
    struct Case {
        const char* stem;
        const char* sanitized;
    };
    for (const Case& c : {Case{"My Song", "my_song"}, Case{"Hänsel & Gretel!", "haensel_$_gretel"},
                          Case{"ÄÖÜ äöü ß", "aeoeue_aeoeue_ss"}, Case{"a+b,c'd´e`f?g", "a$bcdefg"},
                          Case{"mix.2.final", "mix2final"}, Case{"track.ab", "track.ab"},
                          Case{"a.b.c.d", "abc.d"}, Case{"README", "readme"}, Case{"x.äb", "x.aeb"}}) {
        EXPECT_EQ(NameSanitizer::sanitizeStem(c.stem), c.sanitized) << c.stem;
    }
}

TEST(NameSanitizer, HeaderNamesBecomePlainFileNames) {
    struct Case {
        std::string raw;
        const char* plain;
    };
    for (const Case& c : {Case{"song.mp3", "song.mp3"}, Case{"../../etc/passwd", ".._.._etc_passwd"},
                          Case{"..", "__"}, Case{".", "_"}, Case{"a\\b", "a_b"},
                          Case{"tab\there\n", "tab_here_"}, Case{"M\xFCller.mp3", "Müller.mp3"},
                          Case{"\x80uro", "€uro"}, Case{"", ""}}) {
        EXPECT_EQ(NameSanitizer::plainFileName(c.raw), c.plain) << c.raw;
    }
}

TEST(Utf8Text, CutAndValidity) {
    EXPECT_EQ(Utf8Text::cutAtBoundary("aäb", 2), "a");
    EXPECT_EQ(Utf8Text::cutAtBoundary("aäb", 3), "aä");
    EXPECT_TRUE(Utf8Text::isValid("Grüße €"));
    EXPECT_FALSE(Utf8Text::isValid("\xC3"));
    EXPECT_FALSE(Utf8Text::isValid("\xED\xA0\x80")); // a surrogate
    EXPECT_EQ(Utf8Text::length("äöü"), 3u);
}
