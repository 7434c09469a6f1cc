// The Player with the mouse, in the real program under a real X server (Xvfb): a double click on
// a song plays it with the "File" output, and the WAV written must be what `quarvel-cli decode`
// makes of the song. A stream held open half-way keeps the Player playing for the screenshot of
// its spectrum; a tag edit in the analyser tree gives the second screenshot. Screenshots go to
// the folder named by QUARVEL_SCREENSHOT_DIR.
#include "app/CVyx31App.h"
#include "framework/ChildFrame.h"
#include "framework/ControlId.h"
#include "framework/StatusBar.h"
#include "metadata/forms/CXAnalyzerTree.h"
#include "platform/xaudio/XA_Codes.h"
#include "player/forms/CViewPlayer.h"
#include "player/forms/VisualisationWindow.h"
#include "resources/ResourceIds.h"
#include "shell/CDirList.h"
#include "shell/CMainFrame.h"
#include "support/FileBytes.h"
#include "support/FileListClicks.h"
#include "support/HeldStream.h"
#include "support/Screenshot.h"
#include "support/WindowTestApp.h"
#include "support/ToneMp3.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

bool hasColour(const QImage& picture) {
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if ((picture.pixel(x, y) & 0xFFFFFF) != 0) return true;
    return false;
}

}  // namespace

TEST(PlayerUnderXvfb, ADoubleClickedSongIsWrittenAsItsDecodingWhileTheSpectrumAndTreeShow) {
    WindowTestApp::instance();
    WindowTestApp::clearSettings();
    const std::string home = WindowTestApp::homeFolder();
    const std::string music = home + "/Music", out = home + "/Player output", reference = home + "/reference";
    for (const std::string& folder : {music, out, reference}) std::filesystem::create_directories(folder);
    ToneSpec evening;
    evening.seconds = 3.0;
    const std::string song = ToneMp3::make(reference, "Evening Tone", evening);
    std::filesystem::copy_file(song, music + "/Evening Tone.mp3");
    ToneSpec night;
    night.seconds = 20.0;
    night.leftHz = 1200.0;
    const std::vector<std::uint8_t> stream = FileBytes::read(ToneMp3::make(reference, "Night Stream", night));

    CVyx31App app;
    ASSERT_TRUE(app.InitInstance());
    CMainFrame& frame = *app.mainFrame();
    frame.resize(1180, 900);
    frame.commands().action(ID_PLAYER)->trigger();
    auto* player = dynamic_cast<CViewPlayer*>(app.form(ModuleId::Player));
    ASSERT_NE(player, nullptr);
    frame.childOf(ModuleId::Player)->showMaximized();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    QTest::qWait(300);
    // A radio button takes clicks on its circle and its text.
    auto* fileOutput = ControlId::find<QRadioButton>(player, 1020);
    QTest::mouseClick(fileOutput, Qt::LeftButton, {}, QPoint(8, fileOutput->height() / 2));
    ASSERT_EQ(player->output(), CViewPlayer::File);
    ControlId::find<QLineEdit>(player, 1028)->setText(QString::fromStdString(out));
    ASSERT_NE(frame.SelectFolder(QString::fromStdString(music)), nullptr);

    // A double click plays the song to its end into the output folder.
    FileListClicks::clickRow(*player->fileList(), QStringLiteral("Evening Tone.mp3"), true);
    const std::string written = out + "/Evening Tone.wav";
    ASSERT_TRUE(WindowTestApp::waitUntil(
        [&] { return std::filesystem::exists(written) && player->isStopped() && player->sequencerStep() == 0; }, 20000));
    QProcess decode;
    decode.start(qEnvironmentVariable("QUARVEL_CLI"), {QStringLiteral("decode"), QString::fromStdString(song), QStringLiteral("-o"),
                                                       QString::fromStdString(reference + "/decoded.wav")});
    ASSERT_TRUE(decode.waitForFinished(30000));
    ASSERT_EQ(decode.exitCode(), 0) << decode.readAllStandardError().toStdString();
    const WavData mine = WavData::read(written), theirs = WavData::read(reference + "/decoded.wav");
    EXPECT_EQ(mine.rate, theirs.rate);
    EXPECT_EQ(mine.channels, theirs.channels);
    EXPECT_GT(mine.frames(), 44100u * 2);
    EXPECT_TRUE(mine.samples == theirs.samples) << mine.samples.size() << " vs " << theirs.samples.size();

    // A stream that stalls half-way keeps the Player playing while the spectrum shows.
    HeldStream held(stream);
    player->addLocation(held.url(QStringLiteral("night.mp3")) + QStringLiteral(" | Night Stream.mp3"), false);
    auto* playlist = ControlId::find<QListWidget>(player, 1007);
    ASSERT_EQ(playlist->count(), 1);
    playlist->setCurrentRow(0);
    player->execute(ID_PLAYLIST_START);
    VisualisationWindow* spectrum = player->visualisationWidget();
    const int before = spectrum->presents();
    ASSERT_TRUE(WindowTestApp::waitUntil(
        [&] { return player->lastState() == XA::Playing && spectrum->presents() > before + 20; }, 20000))
        << "state " << player->lastState() << ", " << spectrum->presents() << " pictures, status \""
        << player->statusBar()->paneText(0).toStdString() << "\"";
    EXPECT_GT(Screenshot::save(frame, QStringLiteral("player-playing.png"), 700).width(), 400);
    EXPECT_EQ(player->lastState(), XA::Playing);
    EXPECT_TRUE(hasColour(spectrum->picture()));
    held.finish();
    ASSERT_TRUE(WindowTestApp::waitUntil([&] { return player->isStopped() && player->sequencerStep() == 0; }, 20000));
    EXPECT_TRUE(std::filesystem::exists(out + "/Night Stream.wav"));

    // A click shows the song in the tree; the tag dialog gives it a new title, written at once.
    CXAnalyzerTree* tree = player->analyzerTree();
    const QString shown = QString::fromStdString(music + "/Evening Tone.mp3");
    QSignalSpy analysed(tree, &CXAnalyzerTree::analysed);
    FileListClicks::clickRow(*player->fileList(), QStringLiteral("Evening Tone.mp3"), false);
    ASSERT_TRUE(WindowTestApp::waitUntil([&] { return !analysed.isEmpty() && tree->filePath() == shown; }, 20000));
    analysed.clear();
    DialogAnswers answers({[](QDialog& dialog) {
        ControlId::find<QLineEdit>(&dialog, IDC_ID3_TITLE)->setText(QStringLiteral("Evening Tone, edited"));
        return DialogAnswers::accept(dialog);
    }});
    tree->EditTags();
    // The tree analyses the file again after the write.
    ASSERT_TRUE(WindowTestApp::waitUntil([&] { return !analysed.isEmpty(); }, 20000));
    ASSERT_EQ(analysed.takeFirst().at(0).toInt(), 0);
    tree->expandAll();
    EXPECT_EQ(tree->valueText(CXAnalyzerTree::Title), QStringLiteral("Evening Tone, edited"));
    EXPECT_GT(Screenshot::save(frame, QStringLiteral("player-tree-after-tag-edit.png"), 700).width(), 400);

    app.ExitInstance();
}
