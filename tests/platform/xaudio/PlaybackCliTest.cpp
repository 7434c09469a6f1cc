// quarvel-cli decode, play and devices as a user runs them.

#include "converter/ProgramLookup.h"
#include "support/CliRun.h"
#include "support/FileBytes.h"
#include "support/TempFolder.h"
#include "platform/xaudio/MisbehavingHttpServer.h"
#include "support/ToneMp3.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace {

// Every run below that could hang is killed after this: far more than a working run takes, it
// is no timing check, only a bound for the test run when a regression hangs.
constexpr std::chrono::seconds RunLimit{90};

// The stream's no-data timeout for the runs started while it lives, shortened so that a stalled
// server is given up on soon.
class StreamTimeout {
public:
    explicit StreamTimeout(const char* seconds) { ::setenv("QUARVEL_STREAM_TIMEOUT", seconds, 1); }
    ~StreamTimeout() { ::unsetenv("QUARVEL_STREAM_TIMEOUT"); }
    StreamTimeout(const StreamTimeout&) = delete;
    StreamTimeout& operator=(const StreamTimeout&) = delete;
};

// The rest of the first line of text that holds start, after start; empty when none does.
std::string lineAfter(const std::string& text, const std::string& start) {
    const std::size_t at = text.find(start);
    if (at == std::string::npos) return {};
    const std::size_t from = at + start.size();
    return text.substr(from, text.find('\n', from) - from);
}

class PlaybackCliTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = new TempFolder;
        tone_ = ToneMp3::make(folder_->path(), "tone", ToneSpec{});
        ToneSpec longer;
        longer.seconds = 5.0; // about 80 kB: room for a stall after 20 kB and many metadata blocks
        longTone_ = ToneMp3::make(folder_->path(), "long", longer);
    }
    static void TearDownTestSuite() {
        delete folder_;
        folder_ = nullptr;
    }
    static TempFolder* folder_;
    static std::string tone_;
    static std::string longTone_;
};

TempFolder* PlaybackCliTest::folder_ = nullptr;
std::string PlaybackCliTest::tone_;
std::string PlaybackCliTest::longTone_;

TEST_F(PlaybackCliTest, DecodeWritesWhatLibmpg123Decodes) {
    const std::string out = folder_->file("out.wav");
    const CliRun run = CliRun::run({"decode", tone_, "-o", out});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(WavData::read(out).samples == referenceDecode(tone_));
    EXPECT_NE(run.err.find("PLAYING\n"), std::string::npos);
    EXPECT_NE(run.err.find("128 kBit\n"), std::string::npos);
    EXPECT_NE(run.err.find("EOF\n"), std::string::npos);
}

// Users check a decode against `mpg123 -w`: the WAV must be the same file, byte for byte. The
// table holds every MPEG fixture, MPEG-2 and 2.5 files at the low rates (made here by resampling
// the tone) and copies whose last frame is cut short (the encoder delay is trimmed all the same).
TEST_F(PlaybackCliTest, DecodeWritesTheWavOfMpg123) {
    const std::string mpg123 = ProgramLookup::find("mpg123", "");
    const std::string lame = ProgramLookup::find("lame", "");
    if (mpg123.empty() || lame.empty()) GTEST_SKIP() << "mpg123 or lame is not installed (scripts/deps.sh installs both)";
    std::vector<std::string> sources;
    for (const auto& entry : std::filesystem::directory_iterator(QUARVEL_FIXTURES "/mpeg")) sources.push_back(entry.path().string());
    std::sort(sources.begin(), sources.end());
    for (const char* rate : {"11.025", "12", "22.05", "24", "8"}) {
        const std::string mp3 = folder_->file(std::string("resampled") + rate + ".mp3");
        const CliRun made = CliRun::runProgram(lame, {"--quiet", "--resample", rate, folder_->file("tone.wav"), mp3});
        ASSERT_EQ(made.exitCode, 0) << made.err;
        sources.push_back(mp3);
    }
    for (const std::string& whole : {std::string(QUARVEL_FIXTURES "/mpeg/vbr.mp3"), folder_->file("resampled24.mp3")}) {
        std::vector<std::uint8_t> bytes = FileBytes::read(whole);
        bytes.resize(bytes.size() - 100); // shorter than the last frame, and no tag follows it
        const std::string cut = folder_->file("cut_" + std::filesystem::path(whole).filename().string());
        FileBytes::write(cut, bytes);
        sources.push_back(cut);
    }
    for (const std::string& source : sources) {
        SCOPED_TRACE(source);
        const std::string expected = folder_->file("mpg123.wav"), out = folder_->file("quarvel.wav");
        const CliRun reference = CliRun::runProgram(mpg123, {"-q", "-w", expected, source});
        ASSERT_EQ(reference.exitCode, 0) << reference.err;
        const CliRun run = CliRun::run({"decode", source, "-o", out}, RunLimit);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_TRUE(FileBytes::read(out) == FileBytes::read(expected));
    }
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
    // A source without MPEG audio decodes nothing: a failure, and no WAV file.
    const std::string notAudio = folder_->file("notes.ogg");
    {
        std::ofstream(notAudio) << "OggS? no, only some text\n";
    }
    const std::string none = folder_->file("none.wav");
    const CliRun nothing = CliRun::run({"decode", notAudio, "-o", none});
    EXPECT_EQ(nothing.exitCode, 1);
    EXPECT_NE(nothing.err.find("[the input holds no MPEG audio]"), std::string::npos) << nothing.err;
    EXPECT_FALSE(std::filesystem::exists(none));
    const CliRun devices = CliRun::run({"devices"});
    EXPECT_EQ(devices.exitCode, 0);
    EXPECT_EQ(devices.out.rfind("0  Default sound output\n", 0), 0u) << devices.out;
    // Without a sound server the list is the same, and nothing complains about the missing server.
    const CliRun serverless = CliRun::runProgram(std::getenv("QUARVEL_CLI"), {"devices"},
                                                 {"PULSE_SERVER=", "PULSE_RUNTIME_PATH=", "XDG_RUNTIME_DIR=" + folder_->path()});
    EXPECT_EQ(serverless.exitCode, 0);
    EXPECT_EQ(serverless.out.rfind("0  Default sound output\n", 0), 0u) << serverless.out;
    EXPECT_EQ(serverless.err, "");
}

TEST_F(PlaybackCliTest, StreamWithIcyMetadataDecodesAsThePlainFile) {
    const std::vector<std::int16_t> reference = referenceDecode(longTone_);
    for (const char* mode : {"plain", "icy"}) {
        SCOPED_TRACE(mode);
        MisbehavingHttpServer server(mode, longTone_);
        const std::string out = folder_->file(std::string(mode) + ".wav");
        const CliRun run = CliRun::run({"decode", server.url(), "-o", out}, RunLimit);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_NE(run.err.find("EOF\n"), std::string::npos) << run.err;
        EXPECT_TRUE(WavData::read(out).samples == reference);
    }
}

TEST_F(PlaybackCliTest, BrokenStreamsFailNamingTheirReason) {
    const StreamTimeout timeout("2");
    const struct {
        const char* mode;
        const char* error; // the component's error text
        const char* reason; // the detail that follows it
    } cases[] = {
        {"stall", "[the server sends no data]", "no data from the server for 2 s"},
        {"endless-headers", "[the server sends no data]", "no data from the server for 2 s"},
        {"silence", "[the server sends no data]", "no data from the server for 2 s"},
        {"early-close", "[the stream broke off]", "transfer closed with"},
        {"reset", "[the stream broke off]", "Connection reset by peer"},
        {"not-found", "[the server refused the stream]", "HTTP 404 Not Found"},
        {"redirect-loop", "[the server redirects too often]", "too many redirects"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        MisbehavingHttpServer server(c.mode, longTone_);
        const CliRun run = CliRun::run({"decode", server.url(), "-o", folder_->file("broken.wav")}, RunLimit);
        if (run.timedOut) {
            ADD_FAILURE() << "decode hung\n" << run.err;
            continue;
        }
        EXPECT_EQ(run.exitCode, 1) << run.err;
        EXPECT_NE(run.err.find(std::string("Command 8 failed\n") + c.error), std::string::npos) << run.err;
        EXPECT_NE(lineAfter(run.err, server.url() + ": ").find(c.reason), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find("EOF"), std::string::npos) << run.err;
    }
}

TEST_F(PlaybackCliTest, SpecialFileIsRefusedInsteadOfWaitedOn) {
    const std::string fifo = folder_->file("pipe.mp3");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const CliRun run = CliRun::run({"decode", fifo, "-o", folder_->file("fifo.wav")}, RunLimit);
    ASSERT_FALSE(run.timedOut) << "decode waited on the FIFO";
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_NE(run.err.find("Command 8 failed\n[the input cannot be opened]"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(fifo + ": Not a regular file"), std::string::npos) << run.err;
}

} // namespace
