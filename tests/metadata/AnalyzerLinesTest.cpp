#include "metadata/AnalyzerLines.h"

#include "platform/xaudio/XaudioAnalyzer.h"

#include <gtest/gtest.h>

TEST(AnalyzerLinesTest, DurationKeepsTheTreesPattern) {
    EXPECT_EQ(AnalyzerLines::duration(185250), "Duration: 03:05.250 ");
    EXPECT_EQ(AnalyzerLines::duration(65007), "Duration: 01:05.07 ");
    EXPECT_EQ(AnalyzerLines::duration(0), "Duration: 00:00.00 ");
}

TEST(AnalyzerLinesTest, MpegInfoLinesInTheTreesOrder) {
    XA_AnalyzerInfo info{};
    info.level = 0;
    info.layer = 3;
    info.bitrate = 16000;
    info.frequency = 8000;
    info.mode = 3;
    info.channels = 1;
    info.frames = 16;
    info.duration = 1152;
    info.variations = 4 | 32;
    const std::vector<std::string> expected = {
        "Level: MPEG 2.5",      "Layer: 3",           "Bitrate: 16000 bps",     "Frequency: 8000 Hz",
        "Mode: single-channel", "Channels: 1 (Mono)", "Frames: 16",             "Duration: 00:01.152 ",
        "Level constant: Yes",  "Layer constant: Yes", "Bitrate constant: No",  "Frequency constant: Yes",
        "Mode constant: Yes",   "Channels constant: No"};
    EXPECT_EQ(AnalyzerLines::mpegInfo(info), expected);
    info.layer = 0;
    info.mode = 9;
    const auto odd = AnalyzerLines::mpegInfo(info);
    EXPECT_EQ(odd[1], "Layer: Unknown");
    EXPECT_EQ(odd[4], "Mode: unknown");
}
