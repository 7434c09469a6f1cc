// quarvel-cli decode, play and devices as a user runs them.

#include "support/CliRun.h"
#include "support/TempFolder.h"
#include "xaudio/ToneMp3.h"

#include <gtest/gtest.h>

namespace {

class PlaybackCliTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = new TempFolder;
        tone_ = ToneMp3::make(folder_->path(), "tone", ToneSpec{});
    }
    static void TearDownTestSuite() {
        delete folder_;
        folder_ = nullptr;
    }
    static TempFolder* folder_;
    static std::string tone_;
};

TempFolder* PlaybackCliTest::folder_ = nullptr;
std::string PlaybackCliTest::tone_;

TEST_F(PlaybackCliTest, DecodeWritesWhatLibmpg123Decodes) {
    const std::string out = folder_->file("out.wav");
    const CliRun run = CliRun::run({"decode", tone_, "-o", out});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(WavData::read(out).samples == referenceDecode(tone_));
    EXPECT_NE(run.err.find("PLAYING\n"), std::string::npos);
    EXPECT_NE(run.err.find("128 kBit\n"), std::string::npos);
    EXPECT_NE(run.err.find("EOF\n"), std::string::npos);
}

TEST_F(PlaybackCliTest, DecodeAppliesLevelsEqualizerAndPitch) {
    const std::string out = folder_->file("changed.wav");
    const CliRun run = CliRun::run({"decode", tone_, "-o", out, "--pcm", "50", "--balance", "0", "--eq",
                                    "0,0,0,0,0,0,0,0", "--pitch", "1100"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const WavData wav = WavData::read(out);
    EXPECT_EQ(wav.peak(1), 0);
    EXPECT_NEAR(static_cast<double>(wav.frames()) / (referenceDecode(tone_).size() / 2), 1000.0 / 1100, 0.01);
}

TEST_F(PlaybackCliTest, WrongCommandLinesAndFailuresExitAsDocumented) {
    const struct {
        std::vector<std::string> arguments;
        int exitCode;
        const char* message;
    } cases[] = {
        {{"decode", tone_}, 2, "-o OUT.wav"},
        {{"decode", tone_, "-o", folder_->file("x.wav"), "--pcm", "101"}, 2, "--pcm takes"},
        {{"decode", tone_, "-o", folder_->file("x.wav"), "--pitch", "800"}, 2, "--pitch takes"},
        {{"decode", tone_, "-o", folder_->file("x.wav"), "--eq", "1,2,3"}, 2, "--eq takes"},
        {{"decode", folder_->file("missing.mp3"), "-o", folder_->file("x.wav")}, 1, "Command 8 failed\n[the input cannot be opened]"},
        {{"play", tone_, "--device", "999"}, 1, "Command 49 failed\n[no such sound device]"},
        {{"play", tone_, "--device", "x"}, 2, "--device takes"},
        {{"devices", "extra"}, 2, "usage: quarvel-cli devices"},
    };
    for (const auto& c : cases) {
        const CliRun run = CliRun::run(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.message;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
    const CliRun devices = CliRun::run({"devices"});
    EXPECT_EQ(devices.exitCode, 0);
    EXPECT_EQ(devices.out.rfind("0  Default sound output\n", 0), 0u) << devices.out;
}

} // namespace
