#include "player/FileOutputName.h"

#include <gtest/gtest.h>

TEST(FileOutputName, NamesTheWavAfterTheDisplayTextKeepingItsCase) {
    const struct {
        const char* display;
        const char* file;
    } cases[] = {
        {"Song.mp3", "Song.wav"},
        {"LOUD.MP3", "LOUD.wav"},
        {"a.mp3.Mp3", "a.wav.wav"},
        {"Live Radio", "Live Radio.wav"},          // a stream's comment
        {"AC/DC live", "AC_DC live.wav"},           // never a path into another folder
        {"take.wav", "take.wav"},
        {"", ".wav"},
    };
    for (const auto& c : cases) EXPECT_EQ(FileOutputName::fileName(c.display), c.file) << c.display;
}

TEST(FileOutputName, ThePathLiesInTheChosenFolder) {
    EXPECT_EQ(FileOutputName::path("/tmp/out", "Song.mp3"), "/tmp/out/Song.wav");
    EXPECT_EQ(FileOutputName::path("/tmp/out/", "Song.mp3"), "/tmp/out/Song.wav");
    EXPECT_EQ(FileOutputName::outputName("/", "x.mp3"), "wav:/x.wav");
}
