// The whole main job with the mouse, in the real program under a real X server (Xvfb): the
// Encoder splits a 20 MB file into 1.4 MB parts with a download page, the Decoder joins the set
// back, and the rebuilt file must be the source byte for byte; Check Set finds every part sound.
// Screenshots of both forms and of the check are saved in the folder named by
// QUARVEL_SCREENSHOT_DIR.
#include "app/CVyx31App.h"
#include "base/SettingsStore.h"
#include "framework/ChildFrame.h"
#include "framework/ControlId.h"
#include "resources/ResourceIds.h"
#include "shell/CDirList.h"
#include "shell/CMainFrame.h"
#include "splitjoin/forms/CEncodeView.h"
#include "splitjoin/forms/CViewDecoder.h"
#include "splitjoin/forms/SetCheckDialog.h"
#include "support/FileBytes.h"
#include "support/Screenshot.h"
#include "support/SplitJoinFolders.h"
#include "support/WindowTestApp.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QLineEdit>
#include <QMainWindow>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>


namespace {

// Presses the toolbar button of the command in the module's frame, as the user does.
void pressToolbarButton(ChildFrame& child, int command) {
    for (QToolBar* bar : child.frameWindow()->findChildren<QToolBar*>()) {
        for (QAction* action : bar->actions()) {
            if (ControlId::of(action) != command && action->data().toInt() != command) continue;
            QWidget* button = bar->widgetForAction(action);
            ASSERT_NE(button, nullptr);
            ASSERT_TRUE(action->isEnabled()) << command;
            QTest::mouseClick(button, Qt::LeftButton);
            return;
        }
    }
    FAIL() << "no toolbar button for command " << command;
}

void clickRow(CDirList& list, const QString& name) {
    const QList<QTreeWidgetItem*> found = list.findItems(name, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << name.toStdString();
    list.scrollToItem(found.front());
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(found.front()).center());
}

}  // namespace

TEST(SplitJoinRoundTrip, TwentyMegabytesSplitInto1_4MegabytePartsWithAPageAndJoinedBack) {
    WindowTestApp::instance();
    WindowTestApp::clearSettings();
    const auto [sources, parts, rebuilt, source] = SplitJoinFolders(20'000'000, 11);

    CVyx31App app;
    ASSERT_TRUE(app.InitInstance());
    // The sponsor pages the program ships, from the source tree.
    app.settings().writeText("Settings", "WebBase", QUARVEL_HLP_DIR "/web/");
    CMainFrame& frame = *app.mainFrame();
    frame.resize(1100, 820);
    frame.commands().updateAll();

    // The Encoder, from the frame's Encoder command.
    frame.commands().action(ID_ENCODER)->trigger();
    auto* encoder = dynamic_cast<CEncodeView*>(app.form(ModuleId::Encoder));
    ASSERT_NE(encoder, nullptr);
    ASSERT_NE(frame.SelectFolder(QString::fromStdString(sources)), nullptr);
    clickRow(*encoder->fileList(), QStringLiteral("Beach Day 2026.mpg"));
    auto* sizes = ControlId::find<QComboBox>(encoder, 1004);
    const int size = sizes->findText(QStringLiteral("1.4 MB"));
    sizes->setCurrentIndex(size);
    emit sizes->activated(size);
    EXPECT_EQ(ControlId::find<QLineEdit>(encoder, 1021)->text(), QStringLiteral("15"));
    ControlId::find<QLineEdit>(encoder, 1043)->setText(QString::fromStdString(parts));
    QTest::keyClicks(ControlId::find<QLineEdit>(encoder, 1036), QStringLiteral("Quarvel test"));
    frame.commands().updateAll();
    pressToolbarButton(*frame.childOf(ModuleId::Encoder), ID_SPLIT);
    EXPECT_EQ(encoder->status().text(), "Ready, 15 files created");
    EXPECT_TRUE(FileBytes::exists(parts + "/beach_day_2026.html"));
    EXPECT_GT(Screenshot::save(frame, QStringLiteral("encoder.png"), 1500).width(), 400);

    // The Decoder, from the frame's Decoder command; a part from the middle of the set.
    frame.commands().action(ID_DECODER)->trigger();
    auto* decoder = dynamic_cast<CViewDecoder*>(app.form(ModuleId::Decoder));
    ASSERT_NE(decoder, nullptr);
    ASSERT_NE(frame.SelectFolder(QString::fromStdString(parts)), nullptr);
    clickRow(*decoder->fileList(), QStringLiteral("beach_day_202607.ppt"));
    EXPECT_EQ(ControlId::find<QLineEdit>(decoder, 1014)->text(), QStringLiteral("Beach Day 2026.mpg"));
    EXPECT_EQ(ControlId::find<QLineEdit>(decoder, 1022)->text(), QStringLiteral("15"));
    ControlId::find<QLineEdit>(decoder, 1005)->setText(QString::fromStdString(rebuilt));
    frame.commands().updateAll();
    pressToolbarButton(*frame.childOf(ModuleId::Decoder), ID_DECODE);
    EXPECT_EQ(FileBytes::read(rebuilt + "/Beach Day 2026.mpg"), source);
    // Let the first sponsor page show before the picture is taken.
    WindowTestApp::waitUntil([decoder] { return decoder->sponsorCounter() != 0; }, 3000);
    EXPECT_GT(Screenshot::save(frame, QStringLiteral("decoder.png"), 1500).width(), 400);

    // Check Set from the toolbar on the same set: every part sound, the dialog on the screen.
    int checkedParts = 0;
    {
        DialogAnswers answers({[&checkedParts](QDialog& dialog) {
            auto* check = qobject_cast<SetCheckDialog*>(&dialog);
            EXPECT_NE(check, nullptr);
            if (check == nullptr) return DialogAnswers::reject(dialog);
            checkedParts = check->partList()->count();
            EXPECT_TRUE(check->summaryLabel()->text().endsWith(QStringLiteral("complete and sound")))
                << check->summaryLabel()->text().toStdString();
            dialog.show();
            EXPECT_GT(Screenshot::save(dialog, QStringLiteral("check-set.png"), 1500).width(), 400);
            return DialogAnswers::reject(dialog);
        }});
        pressToolbarButton(*frame.childOf(ModuleId::Decoder), ID_CHECK_SET);
    }
    EXPECT_EQ(checkedParts, 15);

    app.ExitInstance();
}
