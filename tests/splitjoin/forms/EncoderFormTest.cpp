#include "support/ModuleFormTest.h"

#include "framework/BrowseEdit.h"
#include "framework/ControlId.h"
#include "resources/ResourceIds.h"
#include "shell/BusyIndicator.h"
#include "shell/CDirList.h"
#include "shell/CHelpViewer.h"
#include "shell/CMainFrame.h"
#include "support/StandInForms.h"
#include "splitjoin/forms/CEncodeView.h"
#include "support/FileBytes.h"
#include "support/WindowTestApp.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <filesystem>

namespace {

class EncoderFormTest : public ModuleFormTest {
protected:
    CEncodeView* openEncoder() {
        encoder_ = open<CEncodeView>(ModuleId::Encoder);
        return encoder_;
    }
    void chooseSize(const QString& size) {
        auto* box = control<QComboBox>(1004);
        const int index = box->findText(size);
        ASSERT_GE(index, 0);
        box->setCurrentIndex(index);
        emit box->activated(index);
    }

    CEncodeView* encoder_ = nullptr;
};

}  // namespace

TEST_F(EncoderFormTest, FirstRunDefaultsAndTheSettingsWrittenAtDestruction) {
    QSettings(QStringLiteral("OzmoMp3s"), QStringLiteral("vyx31")).setValue("Encoder/CryptKey", QByteArray("abcd"));
    ASSERT_NE(openEncoder(), nullptr);
    EXPECT_EQ(control<QComboBox>(1004)->currentText(), QStringLiteral("1.0 MB"));
    EXPECT_EQ(control<QComboBox>(1004)->count(), 12);
    EXPECT_EQ(encoder_->currentFolder().toStdString(), WindowTestApp::homeFolder());
    EXPECT_EQ(text(1082), QStringLiteral("abcd"));  // 4 bytes without a NUL: a 4-character key
    EXPECT_EQ(control<QLineEdit>(1082)->maxLength(), 10);
    EXPECT_TRUE(control<QCheckBox>(1035)->isChecked());
    EXPECT_TRUE(control<QCheckBox>(1024)->isChecked());
    EXPECT_TRUE(control<QCheckBox>(1038)->isChecked());
    EXPECT_FALSE(control<QCheckBox>(1038)->isEnabled());

    chooseSize(QStringLiteral("2.5 MB"));
    control<QLineEdit>(1036)->setText(QStringLiteral("Anna"));
    QTest::mouseClick(control<QCheckBox>(1077), Qt::LeftButton);
    control<QLineEdit>(1043)->setText(QString::fromStdString(folder()));
    close(ModuleId::Encoder);
    EXPECT_EQ(app_->form(ModuleId::Encoder), nullptr);
    EXPECT_EQ(settings().getText("Encoder", "SplitSize", ""), "2.5 MB");
    EXPECT_EQ(settings().getText("Encoder", "Uploader", ""), "Anna");
    EXPECT_EQ(settings().getInt("Encoder", "SplitDate", 0), 1);
    EXPECT_EQ(settings().getText("Encoder", "SplitOutDir", ""), folder());

    ASSERT_NE(openEncoder(), nullptr);
    EXPECT_EQ(control<QComboBox>(1004)->currentText(), QStringLiteral("2.5 MB"));
    EXPECT_EQ(text(1036), QStringLiteral("Anna"));
}

TEST_F(EncoderFormTest, AClickShowsTheSanitisedNameAndCountAndUnsplitCountsOne) {
    writeFile("My Song & Tänze!.mp3", FileBytes::pattern(3'000'000));
    ASSERT_NE(openEncoder(), nullptr);
    selectFolder(folder());
    control<QLineEdit>(1036)->setText(QStringLiteral("typed before the click"));
    clickRow(*encoder_->fileList(), QStringLiteral("My Song & Tänze!.mp3"));
    EXPECT_EQ(text(1033).toStdString(), path("My Song & Tänze!.mp3"));
    EXPECT_EQ(text(1042), QStringLiteral("my_song_$_taenze00.ppt"));
    EXPECT_EQ(text(1021), QStringLiteral("4"));  // 3,000,000 bytes in parts of 999,822
    EXPECT_EQ(text(1036), QStringLiteral("typed before the click"));
    EXPECT_EQ(encoder_->currentFolder().toStdString(), folder());
    EXPECT_TRUE(enabled(ID_SPLIT));

    chooseSize(QStringLiteral("0.0 MB unsplit"));
    EXPECT_EQ(text(1021), QStringLiteral("1"));
    // A typed size counts when the field loses the focus.
    auto* sizeEdit = control<QComboBox>(1004)->lineEdit();
    sizeEdit->setText(QStringLiteral("0.5"));
    emit sizeEdit->editingFinished();
    EXPECT_EQ(text(1021), QStringLiteral("7"));
}

TEST_F(EncoderFormTest, ASplitWithAPageWritesThePartsAndEnablesShowPageUntilTheNextPick) {
    const auto source = FileBytes::pattern(2'500'000, 3);
    writeFile("take.bin", source);
    writeFile("other.bin", FileBytes::pattern(10));
    const std::string out = makeFolder("out");
    ASSERT_NE(openEncoder(), nullptr);
    selectFolder(folder());
    control<QLineEdit>(1043)->setText(QString::fromStdString(out));
    clickRow(*encoder_->fileList(), QStringLiteral("take.bin"));
    EXPECT_FALSE(enabled(ID_SHOW_PAGE));

    QStringList texts;
    QObject::connect(encoder_->status().progressBar(), &QProgressBar::valueChanged, [&](int) {
        texts.append(QString::fromStdString(encoder_->status().text()));
    });
    ASSERT_TRUE(frame().commands().execute(ID_SPLIT));
    EXPECT_EQ(encoder_->status().text(), "Ready, 3 files created");
    EXPECT_TRUE(texts.contains(QStringLiteral("Part 1 created")));
    EXPECT_FALSE(encoder_->status().progressBar()->isVisible());
    for (const char* part : {"take00.ppt", "take01.ppt", "take02.ppt", "take.html"})
        EXPECT_TRUE(FileBytes::exists(out + "/" + part)) << part;
    EXPECT_TRUE(enabled(ID_SHOW_PAGE));
    EXPECT_TRUE(enabled(ID_SPLIT));  // ready again after a successful split

    clickRow(*encoder_->fileList(), QStringLiteral("other.bin"));
    EXPECT_FALSE(enabled(ID_SHOW_PAGE));
}

// A toolbar button takes no focus, so a size typed just before it is never "finished": the
// split still cuts at the size the box shows, and that size is what the settings keep.
TEST_F(EncoderFormTest, ASizeTypedWithoutFinishingTheEditCountsForTheToolbarSplit) {
    writeFile("take.bin", FileBytes::pattern(3'000'000));
    const std::string out = makeFolder("out");
    ASSERT_NE(openEncoder(), nullptr);
    selectFolder(folder());
    control<QLineEdit>(1043)->setText(QString::fromStdString(out));
    clickRow(*encoder_->fileList(), QStringLiteral("take.bin"));
    EXPECT_EQ(text(1021), QStringLiteral("4"));  // at 1.0 MB

    QLineEdit* sizeEdit = control<QComboBox>(1004)->lineEdit();
    QSignalSpy finished(sizeEdit, &QLineEdit::editingFinished);
    sizeEdit->selectAll();
    QTest::keyClicks(sizeEdit, QStringLiteral("2.0 MB"));
    ASSERT_EQ(sizeEdit->text(), QStringLiteral("2.0 MB"));
    ASSERT_TRUE(enabled(ID_SPLIT));
    auto* bar = ControlId::find<QToolBar>(frame().childOf(ModuleId::Encoder)->frameWindow(), AFX_IDW_TOOLBAR);
    ASSERT_NE(bar, nullptr);
    QWidget* splitButton = bar->widgetForAction(frame().commands().action(ID_SPLIT));
    ASSERT_NE(splitButton, nullptr);
    QTest::mouseClick(splitButton, Qt::LeftButton);
    EXPECT_EQ(finished.count(), 0);

    EXPECT_EQ(encoder_->status().text(), "Ready, 2 files created");
    EXPECT_EQ(std::filesystem::file_size(out + "/take00.ppt"), 163u + 1'999'822u);
    EXPECT_EQ(std::filesystem::file_size(out + "/take01.ppt"), 163u + 3'000'000u - 1'999'822u);
    EXPECT_FALSE(FileBytes::exists(out + "/take02.ppt"));
    EXPECT_EQ(text(1021), QStringLiteral("2"));
    close(ModuleId::Encoder);
    EXPECT_EQ(settings().getText("Encoder", "SplitSize", ""), "2.0 MB");
}

TEST_F(EncoderFormTest, WithoutAnOutputFolderThePartsGoBesideTheSourceAndShowInTheList) {
    writeFile("take.bin", FileBytes::pattern(1'500'000));
    ASSERT_NE(openEncoder(), nullptr);
    selectFolder(folder());
    QTest::mouseClick(control<QCheckBox>(1024), Qt::LeftButton);  // no page
    clickRow(*encoder_->fileList(), QStringLiteral("take.bin"));
    ASSERT_TRUE(frame().commands().execute(ID_SPLIT));
    EXPECT_EQ(rowNames(*encoder_->fileList()),
              (QStringList{QStringLiteral("take.bin"), QStringLiteral("take00.ppt"), QStringLiteral("take01.ppt")}));
    EXPECT_FALSE(enabled(ID_SHOW_PAGE));
}

TEST_F(EncoderFormTest, TheFilterBoxRefillsTheListWithMp3AndItsColumnTitle) {
    for (const char* name : {"a.mp3", "b.txt", "LOUD.MP3"}) writeFile(name, FileBytes::pattern(5));
    ASSERT_NE(openEncoder(), nullptr);
    selectFolder(folder());
    CDirList& list = *encoder_->fileList();
    EXPECT_EQ(rowNames(list).size(), 3);

    QTest::mouseClick(control<QCheckBox>(1078), Qt::LeftButton);
    EXPECT_EQ(rowNames(list), (QStringList{QStringLiteral("a.mp3"), QStringLiteral("LOUD.MP3")}));
    EXPECT_EQ(list.headerItem()->text(0), QStringLiteral("Name - Filter: *.mp3"));
    QTest::mouseClick(control<QCheckBox>(1078), Qt::LeftButton);
    EXPECT_EQ(rowNames(list).size(), 3);
    EXPECT_EQ(list.headerItem()->text(0), QStringLiteral("Name"));
    QTest::mouseClick(control<QCheckBox>(1078), Qt::LeftButton);
    close(ModuleId::Encoder);
    EXPECT_EQ(settings().getInt("Encoder", "Filter", 0), 1);
}

TEST_F(EncoderFormTest, AClickOnTheEmptyAreaClearsTheForm) {
    writeFile("take.bin", FileBytes::pattern(100));
    ASSERT_NE(openEncoder(), nullptr);
    selectFolder(folder());
    clickRow(*encoder_->fileList(), QStringLiteral("take.bin"));
    ASSERT_FALSE(text(1042).isEmpty());
    clickEmptyArea(*encoder_->fileList());
    EXPECT_TRUE(text(1033).isEmpty());
    EXPECT_TRUE(text(1042).isEmpty());
    EXPECT_EQ(text(1021), QStringLiteral("0"));
    EXPECT_TRUE(encoder_->currentFolder().isEmpty());
    EXPECT_FALSE(enabled(ID_SPLIT));
    EXPECT_FALSE(enabled(ID_LIST_DELETE));
    close(ModuleId::Encoder);
    EXPECT_EQ(settings().getText("Encoder", "SplitInDir", "unset"), "");
}

TEST_F(EncoderFormTest, AWriteErrorDuringTheSplitShowsTheSystemsDescriptionInABox) {
    writeFile("take.bin", FileBytes::pattern(3'000'000));
    ASSERT_NE(openEncoder(), nullptr);
    selectFolder(folder());
    clickRow(*encoder_->fileList(), QStringLiteral("take.bin"));
    chooseSize(QStringLiteral("0.0 MB unsplit"));
    DialogAnswers answers({DialogAnswers::accept});
    {
        FileSizeLimit limit(1'000'000);
        ASSERT_TRUE(frame().commands().execute(ID_SPLIT));
    }
    ASSERT_EQ(answers.seen().size(), 1u);
    EXPECT_TRUE(answers.seen()[0].text.contains(QStringLiteral("File too large"))) << answers.seen()[0].text.toStdString();
    EXPECT_FALSE(encoder_->status().progressBar()->isVisible());
    EXPECT_FALSE(enabled(ID_SPLIT));  // ready stays false after a failed split
    EXPECT_EQ(FileBytes::read(path("take.bin")).size(), 3'000'000u);
}

TEST_F(EncoderFormTest, ShowPageBringsTheHelpWindowWithThePageToTheFront) {
    writeFile("take.bin", FileBytes::pattern(2000));
    frame().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame()));
    ASSERT_NE(openEncoder(), nullptr);
    selectFolder(folder());
    clickRow(*encoder_->fileList(), QStringLiteral("take.bin"));
    ASSERT_TRUE(frame().commands().execute(ID_SPLIT));
    frame().commands().updateAll();
    QToolButton* showPage = nullptr;
    for (QToolButton* button : frame().childOf(ModuleId::Encoder)->findChildren<QToolButton*>())
        if (button->defaultAction() && ControlId::of(button->defaultAction()) == ID_SHOW_PAGE) showPage = button;
    ASSERT_NE(showPage, nullptr);
    ASSERT_TRUE(showPage->isEnabled());
    encoder_->fileList()->setFocus();
    QTest::mouseClick(showPage, Qt::LeftButton);
    auto* help = dynamic_cast<CHelpViewer*>(app_->form(ModuleId::Help));
    ASSERT_NE(help, nullptr);
    const QString page = QString::fromStdString(path("take.html"));
    ASSERT_TRUE(WindowTestApp::waitUntil(
        [&] { return !help->isLoading() && !help->isPending() && help->lastCompletedAddress() == page; }, 30000));
    // The main window loses and regains the focus (another program in between): the keyboard
    // comes back where it was, and that must not be the Encoder.
    QApplication::setActiveWindow(nullptr);
    QApplication::setActiveWindow(&frame());
    QTest::qWait(200);
    EXPECT_EQ(frame().activeChild(), frame().childOf(ModuleId::Help));
    EXPECT_TRUE(frame().windowTitle().endsWith(page)) << frame().windowTitle().toStdString();
    EXPECT_FALSE(help->busyIndicator()->isRunning());
    EXPECT_FALSE(enabled(ID_BROWSE_STOP));
}

TEST_F(EncoderFormTest, HelpAndShowPageOpenTheirPagesInTheHelpBrowser) {
    app_->docTemplate(ModuleId::Help).setFormFactory([](FormHost&, Document&, ChildFrame&) { return new StandInHelp; });
    writeFile("take.bin", FileBytes::pattern(2000));
    ASSERT_NE(openEncoder(), nullptr);
    selectFolder(folder());
    clickRow(*encoder_->fileList(), QStringLiteral("take.bin"));
    ASSERT_TRUE(frame().commands().execute(ID_SPLIT));
    encoder_->execute(ID_SHOW_PAGE);
    encoder_->execute(ID_HELP);
    auto* help = dynamic_cast<StandInHelp*>(app_->form(ModuleId::Help));
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->pages, (QStringList{QString::fromStdString(path("take.html")), app_->programFolder() + "hlp/encoder.htm"}));
}
