// The Player window in the real program, offscreen: the real playback component writes its
// "File" output into a temporary folder, the songs are tones encoded by lame.
#include "framework/BrowseEdit.h"
#include "framework/StatusBar.h"
#include "platform/xaudio/XA_Codes.h"
#include "player/SamplePlayer.h"
#include "player/forms/LevelMeter.h"
#include "player/forms/VisualisationWindow.h"
#include "player/forms/CViewPlayer.h"
#include "resources/ResourceIds.h"
#include "shell/CAddUrl.h"
#include "shell/CDirList.h"
#include "support/StandInForms.h"
#include "support/FileBytes.h"
#include "support/HeldStream.h"
#include "support/ModuleFormTest.h"
#include "support/WindowTestApp.h"
#include "support/ToneMp3.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QHelpEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

struct Sent {
    int code;
    XA_Command command;
};

class PlayerFormTest : public ModuleFormTest {
protected:
    void SetUp() override {
        ModuleFormTest::SetUp();
        songs_ = makeFolder("songs");
        out_ = makeFolder("out");
        player_ = open<CViewPlayer>(ModuleId::Player);
        ASSERT_NE(player_, nullptr);
        ASSERT_NE(player_->player(), nullptr);
        player_->setCommandObserver([this](const XA_Command& command) { sent_.push_back(command); });
        useFileOutput();
    }

    void useFileOutput() {
        control<QRadioButton>(1020)->click();
        control<QLineEdit>(1028)->setText(QString::fromStdString(out_));
    }

    std::string song(const std::string& name, double seconds = 1.0) {
        ToneSpec tone;
        tone.seconds = seconds;
        const std::string mp3 = ToneMp3::make(songs_, name, tone);
        fs::remove(songs_ + "/" + name + ".wav");  // only the MP3 is listed
        return mp3;
    }

    void showSongs() {
        selectFolder(songs_);
        player_->fileList()->RefreshList();
    }

    // Waits until the sequencer has nothing more to do and the player is stopped.
    bool waitForIdle(int milliseconds = 20000) {
        return WindowTestApp::waitUntil(
            [this] { return player_->sequencerStep() == 0 && player_->isStopped() && !player_->sequencerArmed(); },
            milliseconds);
    }

    std::vector<XA_Command> sentWith(int code) const {
        std::vector<XA_Command> found;
        for (const XA_Command& command : sent_)
            if (command.code == code) found.push_back(command);
        return found;
    }
    std::vector<int> codesAmong(std::initializer_list<int> codes) const {
        std::vector<int> found;
        for (const XA_Command& command : sent_)
            if (std::find(codes.begin(), codes.end(), command.code) != codes.end()) found.push_back(command.code);
        return found;
    }
    std::vector<std::string> openedLocations() const {
        std::vector<std::string> locations;
        for (const XA_Command& open : sentWith(XA::InputOpen))
            if (open.textAt(0)) locations.push_back(*open.textAt(0));
        return locations;
    }
    QStringList playlistBox() const {
        QStringList lines;
        auto* box = control<QListWidget>(1007);
        for (int i = 0; i < box->count(); ++i) lines.append(box->item(i)->text());
        return lines;
    }

    std::string songs_, out_;
    CViewPlayer* player_ = nullptr;
    std::vector<XA_Command> sent_;
};

TEST_F(PlayerFormTest, PlayWithNothingSelectedQueuesAnEmptyEntryAndEndsWithAnEmptyList) {
    player_->Play();
    EXPECT_EQ(player_->queue().size(), 1u);
    EXPECT_EQ(player_->sequencerStep(), CViewPlayer::PlayNext);
    ASSERT_TRUE(waitForIdle());
    EXPECT_TRUE(player_->queue().empty());
    EXPECT_TRUE(playlistBox().isEmpty());
    EXPECT_TRUE(sentWith(XA::InputOpen).empty());
    EXPECT_TRUE(fs::is_empty(out_));
}

TEST_F(PlayerFormTest, DoubleClickPlaysASongToTheEndAndTheSequencerTakesTheNextEntry) {
    const std::string first = song("First Song"), second = song("Second Song");
    showSongs();
    clickRow(*player_->fileList(), QStringLiteral("First Song.mp3"), true);
    clickRow(*player_->fileList(), QStringLiteral("Second Song.mp3"), true);
    EXPECT_EQ(player_->selectedPath().toStdString(), second);
    ASSERT_TRUE(waitForIdle());
    EXPECT_EQ(openedLocations(), (std::vector<std::string>{first, second}));
    for (const std::string& mp3 : {first, second}) {
        const std::string name = fs::path(mp3).stem().string();
        const WavData wav = WavData::read(out_ + "/" + name + ".wav");
        long rate = 0;
        int channels = 0;
        const std::vector<std::int16_t> reference = referenceDecode(mp3, &rate, &channels);
        EXPECT_EQ(wav.rate, rate) << name;
        EXPECT_EQ(wav.channels, channels) << name;
        EXPECT_TRUE(wav.samples == reference) << name << ": " << wav.samples.size() << " vs " << reference.size();
    }
    EXPECT_TRUE(playlistBox().isEmpty());
    EXPECT_EQ(player_->statusBar()->paneText(1), QStringLiteral("STOPPED"));
    EXPECT_EQ(player_->statusBar()->paneText(3), QStringLiteral("00:00:01"));
}

TEST_F(PlayerFormTest, AStreamShowsPlayingOnceItsSamplesPlayAndItsEndClearsTheMetersAndThePicture) {
    ToneSpec tone;
    tone.seconds = 20.0;
    HeldStream held(FileBytes::read(ToneMp3::make(makeFolder("stream"), "Night", tone)));
    player_->addLocation(held.url(QStringLiteral("night.mp3")) + QStringLiteral(" | Night"), false);
    control<QListWidget>(1007)->setCurrentRow(0);
    player_->execute(ID_PLAYLIST_START);
    StatusBar* status = player_->statusBar();
    // Half of the song has arrived and is played; the stream then waits, playing.
    ASSERT_TRUE(WindowTestApp::waitUntil(
        [&] {
            return status->paneText(4) >= QStringLiteral("00:00:05") && player_->leftMeter()->value() > 0 &&
                   !player_->visualisationWidget()->picture().isNull();
        },
        20000))
        << status->paneText(1).toStdString() << " " << status->paneText(4).toStdString();
    EXPECT_EQ(status->paneText(1), QStringLiteral("PLAYING"));

    held.finish();
    ASSERT_TRUE(waitForIdle());
    QApplication::processEvents();
    EXPECT_EQ(status->paneText(1), QStringLiteral("STOPPED"));
    EXPECT_EQ(player_->leftMeter()->value(), 0);
    EXPECT_EQ(player_->rightMeter()->value(), 0);
    EXPECT_TRUE(player_->visualisationWidget()->picture().isNull());
}

TEST_F(PlayerFormTest, PlayPausesWhilePlayingAndResumesWhilePausedOrAtTheEnd) {
    const struct {
        int state;
        int command;
    } cases[] = {{XA::Playing, XA::Pause}, {XA::Paused, XA::Play}, {XA::EndOfStream, XA::Play}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.state);
        sent_.clear();
        player_->player()->lastState = c.state;
        player_->Play();
        EXPECT_EQ(codesAmong({XA::Play, XA::Pause}), std::vector<int>{c.command});
        EXPECT_TRUE(player_->queue().empty());
    }
}

TEST_F(PlayerFormTest, PositionSliderPausesOnceSeeksAtReleaseAndResumesOnlyWhenItWasPlaying) {
    auto* slider = control<QSlider>(1081);
    for (const int state : {int(XA::Playing), int(XA::Paused)}) {
        SCOPED_TRACE(state);
        sent_.clear();
        player_->player()->lastState = state;
        slider->setSliderDown(true);
        slider->setSliderPosition(120);
        slider->setSliderPosition(200);
        EXPECT_EQ(player_->player()->seeking, 1);
        slider->setSliderDown(false);
        const std::vector<int> expected = state == XA::Playing ? std::vector<int>{XA::Pause, XA::Seek, XA::Play}
                                                                : std::vector<int>{XA::Pause, XA::Seek};
        EXPECT_EQ(codesAmong({XA::Play, XA::Pause, XA::Seek}), expected);
        ASSERT_EQ(sentWith(XA::Seek).size(), 1u);
        EXPECT_EQ(sentWith(XA::Seek)[0].numberAt(0), 200);
        EXPECT_EQ(sentWith(XA::Seek)[0].numberAt(1), 400);
        EXPECT_EQ(player_->player()->seeking, 0);
    }
}

TEST_F(PlayerFormTest, StopEmptiesThePlaylist) {
    const std::string a = song("a"), b = song("b");
    player_->addToPlaylist({QString::fromStdString(a), QString::fromStdString(b)});
    EXPECT_EQ(playlistBox(), (QStringList{"a.mp3", "b.mp3"}));
    EXPECT_FALSE(enabled(IDC_STOP));  // nothing plays
    player_->execute(ID_PLAYLIST_CLEAR_ALL);
    EXPECT_TRUE(player_->queue().empty());
    EXPECT_TRUE(playlistBox().isEmpty());
    EXPECT_EQ(player_->sequencerStep(), CViewPlayer::Idle);
}

TEST_F(PlayerFormTest, ChangingTheOutputResetsThePitchTo1000) {
    auto* pitch = control<QSlider>(1009);
    control<QRadioButton>(1011)->click();
    EXPECT_TRUE(pitch->isEnabled());
    pitch->setValue(1050);
    ASSERT_EQ(sentWith(XA::OutputProperty).back().numberAt(1), 1050);
    for (const int output : {1013, 1020, 1011}) {
        SCOPED_TRACE(output);
        pitch->setValue(1080);
        control<QRadioButton>(output)->click();
        EXPECT_EQ(pitch->value(), 1000);
        EXPECT_EQ(pitch->isEnabled(), output == 1011);
        EXPECT_EQ(sentWith(XA::OutputProperty).back().numberAt(1), 1000);
        EXPECT_EQ(control<QLineEdit>(1028)->isReadOnly(), output != 1020);
    }
}

TEST_F(PlayerFormTest, DoubleClickOnAPlaylistQueuesRelativeAbsoluteAndUrlLinesAndPlaysThemAll) {
    const std::string near = song("near"), far = ToneMp3::make(makeFolder("elsewhere"), "far");
    const std::string url = "http://127.0.0.1:1/radio.mp3";
    std::ofstream(songs_ + "/mix.M3U", std::ios::binary)
        << "#EXTM3U\r\n#EXTINF:1,Near\r\nnear.mp3\r\n" << far << "\r\n" << url << "\r\n";
    showSongs();
    clickRow(*player_->fileList(), QStringLiteral("mix.M3U"), true);
    EXPECT_EQ(playlistBox(), (QStringList{"near.mp3", "far.mp3", "radio.mp3"}));
    ASSERT_TRUE(waitForIdle());
    EXPECT_EQ(openedLocations(), (std::vector<std::string>{near, far, url}));
    EXPECT_TRUE(fs::exists(out_ + "/near.wav"));
    EXPECT_TRUE(fs::exists(out_ + "/far.wav"));
    EXPECT_TRUE(player_->queue().empty());
}

TEST_F(PlayerFormTest, SaveWritesRelativeAndAbsoluteLines) {
    const std::string inside = song("inside"), outside = ToneMp3::make(makeFolder("other"), "outside");
    player_->addToPlaylist({QString::fromStdString(inside), QString::fromStdString(outside)});
    const std::string target = songs_ + "/saved.m3u";
    DialogAnswers answers({[&](QDialog& dialog) {
        auto& files = dynamic_cast<QFileDialog&>(dialog);
        EXPECT_EQ(files.acceptMode(), QFileDialog::AcceptSave);
        files.selectFile(QString::fromStdString(target));
        return DialogAnswers::accept(dialog);
    }});
    player_->execute(ID_PLAYLIST_SAVE);
    EXPECT_EQ(FileBytes::readText(target), "inside.mp3\r\n" + outside + "\r\n");
    EXPECT_EQ(player_->currentFolder().toStdString(), songs_);
}

TEST_F(PlayerFormTest, AddUrlQueuesTheCommentWithTheAddressAndStartPlaysTheSelectedEntryFirst) {
    DialogAnswers answers({[](QDialog& dialog) {
        auto& prompt = dynamic_cast<CAddUrl&>(dialog);
        ControlId::find<QLineEdit>(&prompt, IDC_URL)->setText(QStringLiteral("http://127.0.0.1:1/live"));
        ControlId::find<QLineEdit>(&prompt, IDC_URL_COMMENT)->setText(QStringLiteral("Live Radio"));
        return DialogAnswers::accept(dialog);
    }});
    const std::string a = song("a");
    player_->addToPlaylist({QString::fromStdString(a)});
    player_->execute(ID_PLAYLIST_ADD_URL);
    ASSERT_EQ(player_->queue().size(), 2u);
    EXPECT_EQ(player_->queue().entries()[1], (CTwoStrings{"Live Radio", "http://127.0.0.1:1/live "}));
    EXPECT_EQ(playlistBox(), (QStringList{"a.mp3", "Live Radio"}));

    control<QListWidget>(1007)->setCurrentRow(1);
    player_->execute(ID_PLAYLIST_START);
    ASSERT_TRUE(waitForIdle());
    // The blank stays in the queue, the stream opens without it.
    EXPECT_EQ(openedLocations(), (std::vector<std::string>{"http://127.0.0.1:1/live", a}));
}

TEST_F(PlayerFormTest, AddUrlWithoutACommentShowsTheAddressAndARefusedOneIsSaid) {
    const struct {
        QString address, comment;
        std::vector<CTwoStrings> queued;
        bool refused;
    } cases[] = {
        {QStringLiteral("http://127.0.0.1:1/"), QString(), {{"http://127.0.0.1:1/", "http://127.0.0.1:1/ "}}, false},
        {QStringLiteral("http://127.0.0.1:1/live"), QStringLiteral("   "), {{"http://127.0.0.1:1/live", "http://127.0.0.1:1/live "}}, false},
        {QStringLiteral("ftp://127.0.0.1/a.mp3"), QStringLiteral("Not a stream"), {}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.address.toStdString());
        player_->Stop();
        player_->setPaneText(0, "");
        DialogAnswers answers({[&c](QDialog& dialog) {
            ControlId::find<QLineEdit>(&dialog, IDC_URL)->setText(c.address);
            ControlId::find<QLineEdit>(&dialog, IDC_URL_COMMENT)->setText(c.comment);
            return DialogAnswers::accept(dialog);
        }});
        player_->execute(ID_PLAYLIST_ADD_URL);
        EXPECT_EQ(player_->queue().entries(), c.queued);
        EXPECT_EQ(player_->statusBar()->paneText(0).contains(c.address), c.refused)
            << player_->statusBar()->paneText(0).toStdString();
    }
}

TEST_F(PlayerFormTest, EqualizerSendsNullWhenDisabledAndAppliesStoredValuesClamped) {
    control<QSlider>(1089)->setValue(-10);
    ASSERT_FALSE(sentWith(XA::Equalizer).empty());
    EXPECT_TRUE(sentWith(XA::Equalizer).back().nullAt(0));

    settings().writeInt("Equalizer", "Enable", 1);
    settings().writeInt("Equalizer", "Slider1", 35);
    settings().writeInt("Equalizer", "Slider8", -150);
    sent_.clear();
    control<QPushButton>(1097)->click();
    EXPECT_TRUE(player_->equalizerEnabled());
    EXPECT_EQ(control<QSlider>(1089)->value(), 20);
    EXPECT_EQ(control<QSlider>(1096)->value(), -100);
    ASSERT_EQ(sentWith(XA::Equalizer).size(), 1u);
    const auto table = sentWith(XA::Equalizer)[0].arguments[0].table();
    ASSERT_TRUE(table);
    for (int band = 20; band < 32; ++band) {
        EXPECT_EQ((*table)[band], 100) << band;
        EXPECT_EQ((*table)[32 + band], 100) << band;
    }
    EXPECT_EQ((*table)[0], -20);
    // The tip tells the band's gain: the negated position.
    QHelpEvent ask(QEvent::ToolTip, QPoint(2, 2), control<QSlider>(1096)->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(control<QSlider>(1096), &ask);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("100"));

    control<QCheckBox>(IDC_EQUALIZER)->click();
    EXPECT_FALSE(player_->equalizerEnabled());
    EXPECT_TRUE(sentWith(XA::Equalizer).back().nullAt(0));
    control<QPushButton>(1099)->click();
    EXPECT_EQ(player_->equalizerPositions(), EqualizerTable::Positions{});
    EXPECT_EQ(settings().getInt("Equalizer", "Slider8", 0), -150);
}

TEST_F(PlayerFormTest, EqualizerSlidersReadOutTheBandGainAndPauseItsOwnName) {
    auto* slider = control<QSlider>(1089);
    slider->setValue(-7);  // the top half raises the band
    QAccessibleInterface* band = QAccessible::queryAccessibleInterface(slider);
    ASSERT_NE(band, nullptr);
    ASSERT_NE(band->valueInterface(), nullptr);
    EXPECT_EQ(band->valueInterface()->currentValue().toInt(), 7);
    EXPECT_EQ(band->text(QAccessible::Value), QStringLiteral("7"));
    EXPECT_EQ(band->valueInterface()->minimumValue().toInt(), -slider->maximum());
    EXPECT_EQ(band->valueInterface()->maximumValue().toInt(), -slider->minimum());
    band->valueInterface()->setCurrentValue(3);
    EXPECT_EQ(slider->value(), -3);

    // Pause shares its id with the folder tree's Refresh, but its button is Pause.
    QToolButton* pause = nullptr;
    for (QToolButton* button : frame().childOf(ModuleId::Player)->findChildren<QToolButton*>())
        if (button->defaultAction() && ControlId::of(button->defaultAction()) == ID_PLAYER_PAUSE) pause = button;
    ASSERT_NE(pause, nullptr);
    EXPECT_EQ(pause->toolTip(), QStringLiteral("Pause"));
    QAccessibleInterface* button = QAccessible::queryAccessibleInterface(pause);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(QAccessible::Name), QStringLiteral("Pause"));
}

TEST_F(PlayerFormTest, ContextMenuOverThePlaylistHasItsCommandsAndElsewhereTheFileListOnes) {
    const struct {
        QWidget* under;
        QString popup;
        QString first;
    } cases[] = {{control<QListWidget>(1007)->viewport(), "PlayList", "&Start"},
                 {control<QWidget>(1057), "ListPlayer", "&Play"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.popup.toStdString());
        QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(5, 5), c.under->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(c.under, &request);
        QMenu* menu = nullptr;
        for (QMenu* candidate : player_->findChildren<QMenu*>())
            if (candidate->isVisible()) menu = candidate;
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->actions().value(0)->text(), c.first);
        menu->close();
    }
}

TEST_F(PlayerFormTest, VisualisationCommandsChooseTheHandler) {
    const struct {
        int command;
        const char* handler;
    } cases[] = {{IDC_OSCILLOSCOPE, "sample-oscilloscope"}, {IDC_VU, "sample-vu"}, {IDC_SPECTRUM, "sample-spectrum"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.handler);
        player_->execute(c.command);
        EXPECT_EQ(sentWith(XA::FeedbackHandler).back().textAt(0), c.handler);
        EXPECT_TRUE(control<QRadioButton>(c.command)->isChecked());
        EXPECT_TRUE(player_->stateOf(c.command).checked);
    }
}

TEST_F(PlayerFormTest, HelpOpensThePlayerPage) {
    app_->docTemplate(ModuleId::Help).setFormFactory([](FormHost&, Document&, ChildFrame&) { return new StandInHelp; });
    player_->execute(ID_HELP);
    auto* help = dynamic_cast<StandInHelp*>(app_->form(ModuleId::Help));
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->pages, QStringList{app_->programFolder() + "hlp/player.htm"});
}

TEST_F(PlayerFormTest, ClosingWritesTheFolderTheOutputFolderAndTheDevice) {
    song("a");
    showSongs();
    clickRow(*player_->fileList(), QStringLiteral("a.mp3"));
    close(ModuleId::Player);
    EXPECT_EQ(settings().getText("Settings", "RestOutDir", ""), songs_);
    EXPECT_EQ(settings().getText("Equalizer", "FileOutDir", ""), out_);
    EXPECT_EQ(settings().getInt("Equalizer", "Device", -1), 0);

    player_ = open<CViewPlayer>(ModuleId::Player);
    ASSERT_NE(player_, nullptr);
    EXPECT_EQ(player_->currentFolder().toStdString(), songs_);
    EXPECT_EQ(control<QLineEdit>(1028)->text().toStdString(), out_);
}

// Pauses the song as soon as its play command went out, so that it is neither stopped nor over.
class PausedSong {
public:
    PausedSong(CViewPlayer& player, std::vector<XA_Command>& sent) : player_(player) {
        player.setCommandObserver([this, &player, &sent](const XA_Command& command) {
            sent.push_back(command);
            if (command.code == XA::FeedbackStop) stoppedWhenClosed = player.isStopped();
            if (command.code == XA::Play && !pauseSent_) {
                pauseSent_ = true;
                QTimer::singleShot(0, &player, [&player] { player.Pause(); });
            }
        });
    }
    // Whether the player was stopped when the window went (the form sends 130 only then).
    bool stoppedWhenClosed = false;

    bool waitUntilPaused() {
        return WindowTestApp::waitUntil([this] { return player_.lastState() == XA::Paused; }, 10000);
    }

private:
    CViewPlayer& player_;
    bool pauseSent_ = false;
};

// A long song double-clicked and paused at once.
class PlayerCloseTest : public PlayerFormTest {
protected:
    void SetUp() override {
        PlayerFormTest::SetUp();
        song("long", 20.0);
        showSongs();
        paused_ = std::make_unique<PausedSong>(*player_, sent_);
        clickRow(*player_->fileList(), QStringLiteral("long.mp3"), true);
        ASSERT_TRUE(paused_->waitUntilPaused());
    }
    std::unique_ptr<PausedSong> paused_;
};

TEST_F(PlayerCloseTest, ClosingTheWindowWhileASongPlaysStopsItFirst) {
    ChildFrame* child = frame().childOf(ModuleId::Player);
    child->close();  // the close box
    EXPECT_NE(app_->form(ModuleId::Player), nullptr);
    EXPECT_EQ(player_->sequencerStep(), CViewPlayer::CloseWindow);
    ASSERT_EQ(sentWith(XA::Stop).size(), 1u);
    ASSERT_TRUE(WindowTestApp::waitUntil([&] { return app_->form(ModuleId::Player) == nullptr; }, 10000));
    EXPECT_TRUE(paused_->stoppedWhenClosed);
}

TEST_F(PlayerCloseTest, ExitWaitsForThePlayerToStop) {
    EXPECT_FALSE(frame().close());
    EXPECT_TRUE(frame().isWaitingForPlayer());
    ASSERT_TRUE(WindowTestApp::waitUntil([&] { return !frame().isVisible(); }, 10000));
    EXPECT_EQ(app_->form(ModuleId::Player), nullptr);
    EXPECT_TRUE(paused_->stoppedWhenClosed);
}

}  // namespace
