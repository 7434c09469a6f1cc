// The playback component end to end: real MP3s made by lame, decoded through the component into
// its WAV output and compared with libmpg123's own decoding.

#include "platform/xaudio/OutputDevices.h"
#include "platform/xaudio/XA_Codes.h"
#include "platform/xaudio/XA_Feedback.h"
#include "platform/xaudio/XaudioPlayback.h"
#include "support/FileBytes.h"
#include "support/FileSizeLimit.h"
#include "support/TempFolder.h"
#include "platform/xaudio/LocalHttpServer.h"
#include "support/NotificationRecorder.h"
#include "support/ToneMp3.h"

#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <functional>
#include <memory>

namespace {

class PlaybackEngineTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = new TempFolder;
        ToneSpec spec;
        spec.seconds = 2.0;
        spec.amplitude = 0.2;
        tone_ = ToneMp3::make(folder_->path(), "tone", spec);
    }
    static void TearDownTestSuite() {
        delete folder_;
        folder_ = nullptr;
    }

    void SetUp() override { ASSERT_EQ(player_new(&player_, &recorder_), 0); }
    void TearDown() override { player_delete(player_); }

    // Plays `location` into a WAV file after `setup` sent its commands; waits for the end of the
    // stream and closes input and output as the Player form does.
    WavData playToWav(const std::string& location, const std::function<void()>& setup = {}) {
        const std::string out = folder_->file("out" + std::to_string(++outputs_) + ".wav");
        const std::size_t from = recorder_.count();
        control_message_send(player_, XA::OutputOpen, "wav:" + out);
        if (setup) setup();
        control_message_send(player_, XA::InputOpen, location);
        control_message_send(player_, XA::Play);
        EXPECT_GE(recorder_.waitForState(XA::EndOfStream, from), 0) << "no end of stream";
        closeAll();
        return WavData::read(out);
    }

    void closeAll() {
        const std::size_t from = recorder_.count();
        control_message_send(player_, XA::InputClose);
        control_message_send(player_, XA::InputOpen, nullptr);
        control_message_send(player_, XA::OutputOpen, nullptr);
        fence(from);
    }

    // Commands run in order: the level notification of a keep-everything level command marks the
    // end of the commands sent before it.
    void fence(std::size_t from) {
        control_message_send(player_, XA::Levels, 255, 255, 255);
        recorder_.waitForCode(XA::MasterLevel, from);
    }

    int failureOf(int command, std::size_t from = 0) {
        const int at = recorder_.waitFor(
            [command](const XA_Message& m) { return m.code() == XA::CommandFailed && m.byteAt(4) == command; }, from);
        return at < 0 ? 0 : recorder_.messages()[at].int16At(6);
    }

    static TempFolder* folder_;
    static std::string tone_;
    int outputs_ = 0;
    NotificationRecorder recorder_;
    XA_PlayerHandle player_ = nullptr;
};

TempFolder* PlaybackEngineTest::folder_ = nullptr;
std::string PlaybackEngineTest::tone_;

TEST_F(PlaybackEngineTest, DecodesToWavExactlyAsLibmpg123Does) {
    long rate = 0;
    int channels = 0;
    const std::vector<std::int16_t> reference = referenceDecode(tone_, &rate, &channels);
    const WavData wav = playToWav(tone_, [&] {
        control_message_send(player_, XA::Levels, 50, 100, 100);
        control_message_send(player_, XA::Equalizer, nullptr);
    });
    EXPECT_EQ(wav.rate, rate);
    EXPECT_EQ(wav.channels, channels);
    ASSERT_EQ(wav.samples.size(), reference.size());
    EXPECT_TRUE(wav.samples == reference);

    // A flat equalizer table changes nothing either.
    const XA_Argument::EqualizerTable flat{};
    const WavData flatWav = playToWav(tone_, [&] { control_message_send(player_, XA::Equalizer, flat); });
    EXPECT_TRUE(flatWav.samples == reference);
}

struct LevelCase {
    const char* name;
    int balance, pcm, master;
    double leftRatio, rightRatio; // RMS against the reference
};

TEST_F(PlaybackEngineTest, LevelsAndBalanceScaleTheChannels) {
    const LevelCase cases[] = {
        {"PCM 50 halves", 50, 50, 100, 0.5, 0.5},
        {"master 50 halves", 50, 100, 50, 0.5, 0.5},
        {"balance 0 silences the right", 0, 100, 100, 1.0, 0.0},
        {"balance 100 silences the left", 100, 100, 100, 0.0, 1.0},
        {"balance 25 halves the right", 25, 100, 100, 1.0, 0.5},
    };
    ToneMp3::writeWav(folder_->file("ref.wav"), referenceDecode(tone_), 44100, 2);
    const WavData reference = WavData::read(folder_->file("ref.wav"));
    for (const LevelCase& c : cases) {
        SCOPED_TRACE(c.name);
        const WavData wav = playToWav(tone_, [&] { control_message_send(player_, XA::Levels, c.balance, c.pcm, c.master); });
        ASSERT_EQ(wav.frames(), reference.frames());
        EXPECT_NEAR(wav.rms(0) / reference.rms(0), c.leftRatio, 0.02);
        EXPECT_NEAR(wav.rms(1) / reference.rms(1), c.rightRatio, 0.02);
        if (c.rightRatio == 0.0) {
            EXPECT_EQ(wav.peak(1), 0);
        }
        if (c.leftRatio == 0.0) {
            EXPECT_EQ(wav.peak(0), 0);
        }
    }
    // 255 keeps a value: the PCM level stays at 50 when only the balance changes.
    const WavData kept = playToWav(tone_, [&] {
        control_message_send(player_, XA::Levels, 50, 50, 100);
        control_message_send(player_, XA::Levels, 50, 255, 255);
    });
    EXPECT_NEAR(kept.rms(0) / reference.rms(0), 0.5, 0.02);
}

TEST_F(PlaybackEngineTest, EqualizerBandRaisesOrLowersItsEnergy) {
    // 440 Hz lies in band 0 (0-689 Hz) on the left, 880 Hz in band 1 on the right.
    ToneMp3::writeWav(folder_->file("ref.wav"), referenceDecode(tone_), 44100, 2);
    const WavData reference = WavData::read(folder_->file("ref.wav"));
    XA_Argument::EqualizerTable table{};
    table[32 + 1] = 100; // right channel, band 1
    table[0] = -100;     // left channel, band 0
    const WavData wav = playToWav(tone_, [&] { control_message_send(player_, XA::Equalizer, table); });
    EXPECT_GT(wav.rms(1) / reference.rms(1), 3.0); // about +12 dB
    EXPECT_LT(wav.rms(0) / reference.rms(0), 0.35); // about -12 dB
    const int at = recorder_.waitForCode(XA::EqualizerState);
    ASSERT_GE(at, 0);
    const XA_Message reported = recorder_.messages()[at];
    EXPECT_EQ(reported.uint32At(4), 1u);
    EXPECT_EQ(static_cast<std::int8_t>(reported.byteAt(8 + 33)), 100);
}

TEST_F(PlaybackEngineTest, PitchResamplesLikeATurntable) {
    const std::size_t referenceFrames = referenceDecode(tone_).size() / 2;
    for (const int pitch : {1100, 900}) {
        SCOPED_TRACE(pitch);
        const WavData wav = playToWav(tone_, [&] { control_message_send(player_, XA::OutputProperty, "OUTPUT.DIRECTSOUND.PITCH", pitch); });
        EXPECT_EQ(wav.rate, 44100); // the output keeps its rate
        EXPECT_NEAR(static_cast<double>(wav.frames()) / referenceFrames, 1000.0 / pitch, 0.01);
    }
}

TEST_F(PlaybackEngineTest, ReportsAWholeFileInOrder) {
    playToWav(tone_);
    const std::vector<XA_Message> messages = recorder_.messages();
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.front().code(), XA::Ready);
    std::vector<int> states;
    int lastPosition = -1, lastSecond = -1, positions = 0;
    bool sawInfo = false, sawDuration = false, seekable = false;
    for (const XA_Message& m : messages) {
        switch (m.code()) {
        case XA::PlayerState: states.push_back(m.byteAt(4)); break;
        case XA::Position:
            EXPECT_EQ(m.uint32At(8), 400u);
            EXPECT_GE(static_cast<int>(m.uint32At(4)), lastPosition);
            lastPosition = static_cast<int>(m.uint32At(4));
            ++positions;
            break;
        case XA::TimeCode: lastSecond = m.byteAt(6); break;
        case XA::StreamInfo:
            sawInfo = true;
            EXPECT_EQ(m.uint32At(4), 44100u);
            EXPECT_EQ(m.uint16At(8), 128);
            EXPECT_EQ(m.byteAt(10), 0); // stereo
            break;
        case XA::Duration: sawDuration = true; EXPECT_EQ(m.uint32At(4), 2u); break;
        case XA::InputCaps: seekable = (m.uint32At(4) & 1) != 0; break;
        case XA::CommandFailed: ADD_FAILURE() << "command " << int(m.byteAt(4)) << " failed"; break;
        }
    }
    EXPECT_EQ(states, (std::vector<int>{XA::Playing, XA::EndOfStream, XA::Stopped}));
    EXPECT_EQ(lastPosition, 400);
    EXPECT_GT(positions, 10);
    EXPECT_EQ(lastSecond, 2);
    EXPECT_TRUE(sawInfo);
    EXPECT_TRUE(sawDuration);
    EXPECT_TRUE(seekable);
}

TEST_F(PlaybackEngineTest, SeekingToHalfwayPlaysTheSecondHalf) {
    const std::vector<std::int16_t> reference = referenceDecode(tone_);
    const std::string out = folder_->file("seek.wav");
    control_message_send(player_, XA::OutputOpen, "wav:" + out);
    control_message_send(player_, XA::InputOpen, tone_);
    control_message_send(player_, XA::Seek, 200, 400);
    control_message_send(player_, XA::Play);
    ASSERT_GE(recorder_.waitForState(XA::EndOfStream), 0);
    closeAll();
    const WavData wav = WavData::read(out);
    const std::size_t half = reference.size() / 2;
    ASSERT_NEAR(static_cast<double>(wav.samples.size()), static_cast<double>(half), 2.0 * 1152);
    // libmpg123 seeks sample-exactly: the output is the reference's second half.
    const std::vector<std::int16_t> tail(reference.end() - static_cast<long>(wav.samples.size()), reference.end());
    EXPECT_TRUE(wav.samples == tail);
}

TEST_F(PlaybackEngineTest, StopAndPauseReportTheirStates) {
    control_message_send(player_, XA::OutputOpen, "wav:" + folder_->file("stopped.wav"));
    control_message_send(player_, XA::InputOpen, tone_);
    control_message_send(player_, XA::Play);
    control_message_send(player_, XA::Pause);
    ASSERT_GE(recorder_.waitForState(XA::Paused), 0);
    control_message_send(player_, XA::Play);
    control_message_send(player_, XA::Stop);
    const int stopped = recorder_.waitForState(XA::Stopped);
    ASSERT_GE(stopped, 0);
    // A stop when already stopped still answers with state 0.
    control_message_send(player_, XA::Stop);
    EXPECT_GE(recorder_.waitForState(XA::Stopped, stopped + 1), 0);
    closeAll();
}

TEST_F(PlaybackEngineTest, FailedCommandsNameTheirError) {
    const struct {
        std::function<void()> send;
        int command, error;
    } cases[] = {
        {[&] { control_message_send(player_, XA::InputOpen, folder_->file("missing.mp3")); }, XA::InputOpen, XA::InputOpenFailed},
        {[&] { control_message_send(player_, XA::Play); }, XA::Play, XA::NoInput},
        {[&] { control_message_send(player_, XA::Seek, 1, 400); }, XA::Seek, XA::NoInput},
        {[&] { control_message_send(player_, XA::OutputOpen, "/dev/wave/999"); }, XA::OutputOpen, XA::NoSuchDevice},
        {[&] { control_message_send(player_, XA::OutputOpen, "/dev/wave/x"); }, XA::OutputOpen, XA::InvalidParameters},
        {[&] { control_message_send(player_, XA::OutputOpen, "wav:"); }, XA::OutputOpen, XA::InvalidParameters},
        {[&] {
             control_message_send(player_, XA::OutputOpen, "wav:" + folder_->file("no/such/folder.wav"));
             control_message_send(player_, XA::InputOpen, tone_);
             control_message_send(player_, XA::Play);
         },
         XA::Play, XA::OutputOpenFailed},
        {[&] { control_message_send(player_, XA::Levels, 101, 255, 255); }, XA::Levels, XA::InvalidParameters},
        {[&] { control_message_send(player_, XA::Levels, 50); }, XA::Levels, XA::InvalidParameters},
        {[&] { control_message_send(player_, XA::OutputProperty, "OUTPUT.DIRECTSOUND.PITCH", 1200); }, XA::OutputProperty, XA::InvalidParameters},
        {[&] { control_message_send(player_, XA::FeedbackModule, "function@zz"); }, XA::FeedbackModule, XA::InvalidParameters},
        {[&] { control_message_send(player_, 200); }, 200, XA::UnknownCommand},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        const std::size_t from = recorder_.count();
        c.send();
        EXPECT_EQ(failureOf(c.command, from), c.error);
        EXPECT_STRNE(xaudio_error_string(c.error), "unknown error");
    }
}

// A WAV file that cannot take all the samples fails the play, whether the disk fills in the
// middle of the stream or with its last samples.
TEST_F(PlaybackEngineTest, FullDiskFailsThePlayInsteadOfEndingTheStream) {
    const std::uint64_t wavBytes = referenceDecode(tone_).size() * sizeof(std::int16_t);
    for (const std::uint64_t limit : {std::uint64_t(4096), wavBytes - 2000}) {
        SCOPED_TRACE(limit);
        const std::size_t from = recorder_.count();
        {
            FileSizeLimit full(limit);
            control_message_send(player_, XA::OutputOpen, "wav:" + folder_->file("full.wav"));
            control_message_send(player_, XA::InputOpen, tone_);
            control_message_send(player_, XA::Play);
            EXPECT_EQ(failureOf(XA::Play, from), XA::OutputWriteFailed);
            closeAll();
        }
        const std::vector<XA_Message> messages = recorder_.messages();
        for (std::size_t i = from; i < messages.size(); ++i)
            EXPECT_FALSE(messages[i].code() == XA::PlayerState && messages[i].byteAt(4) == XA::EndOfStream) << i;
    }
}

TEST_F(PlaybackEngineTest, WavFileIsCompleteAfterOutputRelease) {
    const std::string out = folder_->file("released.wav");
    control_message_send(player_, XA::OutputOpen, "wav:" + out);
    control_message_send(player_, XA::InputOpen, tone_);
    control_message_send(player_, XA::Play);
    ASSERT_GE(recorder_.waitForState(XA::EndOfStream), 0);
    closeAll();
    EXPECT_EQ(WavData::read(out).samples.size(), referenceDecode(tone_).size());
}

TEST_F(PlaybackEngineTest, HttpStreamPlaysFromALocalServer) {
    const std::vector<std::uint8_t> bytes = FileBytes::read(tone_);
    LocalHttpServer server(std::string(bytes.begin(), bytes.end()));
    const WavData wav = playToWav(server.url());
    EXPECT_TRUE(wav.samples == referenceDecode(tone_));
    const std::vector<XA_Message> messages = recorder_.messages();
    std::vector<int> progress;
    for (const XA_Message& m : messages) {
        if (m.code() == XA::NetworkProgress) progress.push_back(m.byteAt(5));
        if (m.code() == XA::InputCaps) {
            EXPECT_EQ(m.uint32At(4) & 1, 0u); // a stream cannot seek
        }
    }
    EXPECT_EQ(progress, (std::vector<int>{XA::Connecting, XA::Connected}));
    const std::size_t from = recorder_.count();
    control_message_send(player_, XA::InputOpen, server.url());
    control_message_send(player_, XA::Seek, 200, 400);
    EXPECT_EQ(failureOf(XA::Seek, from), XA::NotSeekable);
}

TEST_F(PlaybackEngineTest, UnreachableOrNonAudioStreamsFail) {
    LocalHttpServer page("<html><body>no sound here</body></html>", "text/html");
    const struct {
        std::string url;
        int error;
    } cases[] = {
        {"http://127.0.0.1:" + std::to_string(LocalHttpServer::closedPort()) + "/x.mp3", XA::NetworkUnreachable},
        {page.url("/index.html"), XA::NotMpegAudio},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url);
        const std::size_t from = recorder_.count();
        control_message_send(player_, XA::OutputOpen, "wav:" + folder_->file("stream.wav"));
        control_message_send(player_, XA::InputOpen, c.url);
        control_message_send(player_, XA::Play);
        EXPECT_EQ(failureOf(XA::InputOpen, from), c.error);
        EXPECT_GE(recorder_.waitForState(XA::Stopped, from), 0); // the playlist goes on
    }
}

// A feedback module of the test's own: records what the component hands to its handler.
struct RecordedFeedback {
    int created = 0, destroyed = 0, events = 0;
    std::intptr_t clientValue = 0;
    bool planarOk = true;
};
RecordedFeedback recorded;

struct TestHandler : XA_FeedbackHandlerInstance {};

int testModule(XA_FeedbackModuleDescriptor* d) {
    d->version = XA::FeedbackInterfaceVersion;
    d->probe = [](const char* name) { return std::string(name) == "test" ? 0 : -1; };
    d->create = [](XA_FeedbackHandlerInstance** out, const char*, void*, void* client, const XA_FeedbackEnvironment* env) {
        env->getClientValue(client, "CLIENT.VALUE", &recorded.clientValue);
        ++recorded.created;
        *out = new TestHandler;
        return 0;
    };
    d->destroy = [](XA_FeedbackHandlerInstance* instance) {
        ++recorded.destroyed;
        delete instance;
        return 0;
    };
    d->release = [] { return 0; };
    d->handleEvent = [](XA_FeedbackHandlerInstance*, const XA_FeedbackEvent* e) {
        ++recorded.events;
        // Balance 0 silences the right channel: the second half of the block is all zero.
        if (e->channels != 2) recorded.planarOk = false;
        for (int i = 0; i < e->samplesPerChannel; ++i)
            if (e->samples[e->samplesPerChannel + i] != 0) recorded.planarOk = false;
        return 0;
    };
    return 0;
}

TEST_F(PlaybackEngineTest, FeedsTheSelectedFeedbackHandler) {
    recorded = {};
    char entry[64];
    std::snprintf(entry, sizeof entry, "function@%08" PRIxPTR, reinterpret_cast<std::uintptr_t>(&testModule));
    playToWav(tone_, [&] {
        control_message_send(player_, XA::ClientValue, "CLIENT.VALUE", 4242);
        control_message_send(player_, XA::FeedbackModule, entry);
        control_message_send(player_, XA::FeedbackHandler, "test");
        control_message_send(player_, XA::FeedbackStart);
        control_message_send(player_, XA::Levels, 0, 255, 255);
    });
    control_message_send(player_, XA::FeedbackStop);
    control_message_send(player_, XA::FeedbackHandler, "unknown");
    EXPECT_EQ(failureOf(XA::FeedbackHandler), XA::FeedbackHandlerFailed);
    player_delete(player_);
    player_ = nullptr;
    EXPECT_EQ(recorded.created, 1);
    EXPECT_EQ(recorded.destroyed, 1);
    EXPECT_GT(recorded.events, 50);
    EXPECT_EQ(recorded.clientValue, 4242);
    EXPECT_TRUE(recorded.planarOk);
}

TEST(OutputDevicesTest, ListStartsWithTheDefaultOutputAndVersionMatches) {
    const std::vector<OutputDevice> devices = OutputDevices::list();
    ASSERT_FALSE(devices.empty());
    EXPECT_EQ(devices.front().description, "Default sound output");
    const unsigned long version = xaudio_get_version(2);
    EXPECT_EQ((version >> 16) & 0xff, 3u);
    EXPECT_EQ((version >> 8) & 0xff, 8u);
}

} // namespace
