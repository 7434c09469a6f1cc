// SamplePlayer against a recording stand-in of the Player form: its handlers one by one, then a
// whole file played by the real component with the notifications crossing to this thread as
// posted events.

#include "platform/xaudio/XA_Codes.h"
#include "player/RecordingPlayerForm.h"
#include "player/SamplePlayer.h"
#include "player/XaudioException.h"
#include "player/XaudioNotifier.h"
#include "support/TempFolder.h"
#include "support/ToneMp3.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstring>
#include <thread>

namespace {

QCoreApplication& application() {
    static int argc = 1;
    static char name[] = "player_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

class SamplePlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        application();
        player_ = std::make_unique<SamplePlayer>(nullptr);
        player_->setOwner(&form_);
    }
    void TearDown() override { player_.reset(); }

    void send(const XA_Message& message) { player_->dispatch(message); }

    RecordingPlayerForm form_;
    std::unique_ptr<SamplePlayer> player_;
};

TEST_F(SamplePlayerTest, PlayerStatesSetTextsAndTheLastState) {
    send(XA_Message(XA::PlayerState).setByte(4, XA::Playing));
    EXPECT_EQ(form_.calls, (std::vector<std::string>{"pane 0 tone.mp3", "title tone.mp3", "pane 1 PLAYING"}));
    EXPECT_EQ(player_->lastState, 1);
    form_.calls.clear();
    send(XA_Message(XA::PlayerState).setByte(4, XA::Paused));
    EXPECT_EQ(form_.calls, (std::vector<std::string>{"pane 1 PAUSED"}));
    send(XA_Message(XA::PlayerState).setByte(4, XA::Stopped));
    EXPECT_TRUE(form_.saw("stopped routine"));
    EXPECT_EQ(player_->lastState, 0);
    form_.calls.clear();
    send(XA_Message(XA::PlayerState).setByte(4, 4)); // above 3: ignored
    EXPECT_TRUE(form_.calls.empty());
    EXPECT_EQ(player_->lastState, 0);
}

TEST_F(SamplePlayerTest, APauseForASeekKeepsPlaying) {
    send(XA_Message(XA::PlayerState).setByte(4, XA::Playing));
    form_.calls.clear();
    player_->seeking = 1;
    send(XA_Message(XA::PlayerState).setByte(4, XA::Paused));
    EXPECT_TRUE(form_.calls.empty()); // pane 1 stays at "PLAYING"
    EXPECT_EQ(player_->lastState, 1);
}

TEST_F(SamplePlayerTest, FailedCommandsShowTheTextAndMayStop) {
    const struct {
        int command, code;
        bool stops;
    } cases[] = {{XA::Play, -200, true}, {XA::InputOpen, XA::InputOpenFailed, true}, {XA::Play, -201, false},
                 {XA::OutputOpen, XA::InvalidParameters, false}};
    for (const auto& c : cases) {
        form_.calls.clear();
        send(XA_Message(XA::CommandFailed).setByte(4, static_cast<std::uint8_t>(c.command)).setInt16(6, static_cast<std::int16_t>(c.code)));
        ASSERT_FALSE(form_.calls.empty());
        EXPECT_EQ(form_.calls.front(), "pane 0 Command " + std::to_string(c.command) + " failed\n[" +
                                           xaudio_error_string(c.code) + "]");
        EXPECT_EQ(form_.saw("stopped routine"), c.stops) << c.command << " " << c.code;
    }
}

TEST_F(SamplePlayerTest, AMissingSoundOutputIsOnePlainText) {
    const struct {
        int command, code;
        bool toFile;
        std::string shown;
    } cases[] = {{XA::OutputOpen, XA::OutputOpenFailed, false, "No sound output"},
                 {XA::OutputOpen, XA::NoSuchDevice, false, "No sound output"},
                 {XA::Play, XA::OutputOpenFailed, false, "No sound output"},
                 {XA::OutputOpen, XA::OutputOpenFailed, true, "Command 49 failed\n[the output cannot be opened]"},
                 {XA::InputOpen, XA::InputOpenFailed, false, "Command 8 failed\n[the input cannot be opened]"}};
    for (const auto& c : cases) {
        form_.calls.clear();
        form_.toFile = c.toFile;
        send(XA_Message(XA::CommandFailed).setByte(4, static_cast<std::uint8_t>(c.command)).setInt16(6, static_cast<std::int16_t>(c.code)));
        ASSERT_FALSE(form_.calls.empty());
        EXPECT_EQ(form_.calls.front(), "pane 0 " + c.shown) << c.command << " " << c.code;
    }
}

TEST_F(SamplePlayerTest, AStreamSaysPlayingOnceItsFirstSamplesPlay) {
    send(XA_Message(XA::NetworkProgress).setByte(5, XA::Connecting));
    send(XA_Message(XA::PlayerState).setByte(4, XA::Playing));
    send(XA_Message(XA::NetworkProgress).setByte(5, XA::Connected));
    form_.calls.clear();
    send(XA_Message(XA::TimeCode).setByte(4, 0).setByte(5, 0).setByte(6, 0));
    send(XA_Message(XA::TimeCode).setByte(4, 0).setByte(5, 0).setByte(6, 1));
    EXPECT_EQ(form_.calls, (std::vector<std::string>{"pane 1 PLAYING", "pane 4 00:00:00", "pane 4 00:00:01"}));
}

TEST_F(SamplePlayerTest, ShowsPositionTimesRatesLevelsAndEqualizer) {
    std::int8_t table[64] = {};
    table[0] = 20;
    table[20] = -100;
    XA_Message equalizer(XA::EqualizerState);
    equalizer.setUint32(4, 1);
    std::memcpy(equalizer.bytes.data() + 8, table, sizeof table);
    send(XA_Message(XA::Position).setUint32(4, 200).setUint32(8, 400));
    send(XA_Message(XA::TimeCode).setByte(4, 1).setByte(5, 2).setByte(6, 3));
    send(XA_Message(XA::Duration).setUint32(4, 3725));
    send(XA_Message(XA::StreamInfo).setUint32(4, 44100).setUint16(8, 192).setByte(10, 0));
    send(XA_Message(XA::Balance).setByte(4, 80).setByte(5, 70).setByte(6, 60));
    send(XA_Message(XA::PcmLevel).setByte(4, 80).setByte(5, 70).setByte(6, 60));
    send(XA_Message(XA::MasterLevel).setByte(4, 80).setByte(5, 70).setByte(6, 60));
    send(equalizer);
    send(XA_Message(XA::EqualizerState).setUint32(4, 0));
    send(XA_Message(XA::NetworkProgress).setByte(5, XA::Connecting));
    send(XA_Message(XA::NetworkProgress).setByte(5, 18));
    send(XA_Message(XA::InputCaps).setUint32(4, 1));
    send(XA_Message(XA::InputState).setByte(4, 0));
    send(XA_Message(XA::InputState).setByte(4, 1));
    send(XA_Message(97)); // no handler
    EXPECT_EQ(form_.calls, (std::vector<std::string>{
                               "position 200", "pane 4 01:02:03", "pane 3 01:02:05", "pane 2 192 kBit", "balance 60",
                               "pcm 70", "master 80", "equalizer on", "sliders -20 0 0 0 0 0 0 100", "equalizer off",
                               "pane 1 Connecting", "position enabled", "position disabled"}));
}

// Counts what reaches dispatch.
struct CountingPlayer : XA_Player {
    int dispatched = 0;
    void dispatch(const XA_Message&) override { ++dispatched; }
};

TEST(XaudioNotifierTest, OnlyComponentRecordsReachDispatch) {
    application();
    CountingPlayer wrapper;
    XaudioNotifier notifier(&wrapper);
    XaudioEvent record(XA_Message(XA::Ready));
    EXPECT_EQ(record.type(), static_cast<QEvent::Type>(0x9000 + 73));
    QCoreApplication::sendEvent(&notifier, &record);
    QEvent below(static_cast<QEvent::Type>(0x8FFF));
    QCoreApplication::sendEvent(&notifier, &below);
    QEvent foreign(static_cast<QEvent::Type>(0x9049)); // in the range, but no record
    QCoreApplication::sendEvent(&notifier, &foreign);
    EXPECT_EQ(wrapper.dispatched, 1);
    // Posted from another thread, a record arrives on this one.
    std::thread poster([&] { notifier.post(XA_Message(XA::PlayerState)); });
    poster.join();
    QCoreApplication::processEvents();
    EXPECT_EQ(wrapper.dispatched, 2);
}

TEST(XaudioPlayerTest, VersionRule) {
    EXPECT_TRUE(XaudioPlayer::versionMatches(0x030800));
    EXPECT_TRUE(XaudioPlayer::versionMatches(0x7F0308FF));
    EXPECT_FALSE(XaudioPlayer::versionMatches(0x030900));
    EXPECT_FALSE(XaudioPlayer::versionMatches(0x040800));
}

// Sends the Player form's playback commands as soon as the component is configured.
class PlayingSamplePlayer : public SamplePlayer {
public:
    PlayingSamplePlayer(std::string wav, std::string mp3) : SamplePlayer(nullptr), wav_(std::move(wav)), mp3_(std::move(mp3)) {}
    void onReady() override {
        SamplePlayer::onReady();
        control_message_send(handle(), XA::OutputOpen, "wav:" + wav_);
        control_message_send(handle(), XA::InputOpen, mp3_);
        control_message_send(handle(), XA::Play);
    }

private:
    std::string wav_, mp3_;
};

TEST(SamplePlayerPlaybackTest, PlaysAFileAndFeedsTheVisualisationAndMeters) {
    application();
    TempFolder folder;
    ToneSpec spec;
    spec.seconds = 1.0;
    spec.amplitude = 0.3;
    const std::string mp3 = ToneMp3::make(folder.path(), "tone", spec);
    RecordingPlayerForm form;
    form.width = 300;
    form.height = 60;
    QEventLoop loop;
    form.onStopped = [&] {
        if (form.saw("pane 1 EOF")) loop.quit();
    };
    PlayingSamplePlayer player(folder.file("out.wav"), mp3);
    player.setOwner(&form);
    QTimer::singleShot(120000, &loop, &QEventLoop::quit); // a hung player fails instead of hanging
    loop.exec();

    EXPECT_TRUE(form.saw("pane 1 PLAYING"));
    EXPECT_TRUE(form.saw("pane 2 128 kBit"));
    EXPECT_TRUE(form.saw("pane 3 00:00:01"));
    EXPECT_TRUE(form.saw("position 400"));
    EXPECT_TRUE(form.saw("pane 1 EOF"));
    EXPECT_TRUE(form.saw("pane 1 STOPPED"));
    EXPECT_EQ(player.lastState, 0);
    for (const std::string& call : form.calls) EXPECT_EQ(call.find("failed"), std::string::npos) << call;
    {
        std::lock_guard lock(form.surface.mutex);
        EXPECT_GT(form.surface.presents, 10);
        EXPECT_EQ(form.surface.lastWidth, 300);
        EXPECT_EQ(form.surface.lastHeight, 60);
    }
    std::lock_guard lock(form.left.mutex);
    EXPECT_GT(form.left.updates, 10);
    EXPECT_NEAR(form.left.maxLevel, 38, 4); // 0.3 of full scale in 8-bit samples
}

} // namespace
