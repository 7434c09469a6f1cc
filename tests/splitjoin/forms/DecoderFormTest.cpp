#include "support/ModuleFormTest.h"

#include "framework/BrowseEdit.h"
#include "framework/ControlId.h"
#include "resources/ResourceIds.h"
#include "shell/CDirList.h"
#include "support/StandInForms.h"
#include "splitjoin/NameSanitizer.h"
#include "splitjoin/Splitter.h"
#include "splitjoin/forms/CViewDecoder.h"
#include "support/FileBytes.h"
#include "support/RecordingSinks.h"
#include "support/WindowTestApp.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QWebEngineView>

#include <filesystem>

namespace {

class DecoderFormTest : public ModuleFormTest {
protected:
    // Splits source into parts of 0.4 MB (payload 399,822 bytes) in the folder "set".
    std::string makeSet(const std::vector<std::uint8_t>& source, const std::string& key = "", bool cryptData = false) {
        const std::string sources = makeFolder("source");
        FileBytes::write(sources + "/Song Nr. 1.wav", source);
        RecordingSinks sinks;
        Splitter splitter(sinks);
        SplitValues& values = splitter.values();
        values.splitSize = SplitSize("0.4 MB");
        values.userKey = key;
        values.cryptData = cryptData;
        values.makePage = false;
        splitter.DeriveOutputName(sources + "/Song Nr. 1.wav");
        values.outputFolder = makeFolder("set");
        EXPECT_TRUE(splitter.Split()) << sinks.lastStatus();
        return values.outputFolder;
    }
    // The name of part index of the set.
    static QString partName(int index) {
        return QString::fromStdString(NameSanitizer::sanitizeStem("Song Nr. 1")) + QStringLiteral("%1.ppt").arg(index, 2, 10, QLatin1Char('0'));
    }
    std::string setPart(int index) const { return path("set/" + partName(index).toStdString()); }

    CViewDecoder* openDecoder() {
        decoder_ = open<CViewDecoder>(ModuleId::Decoder);
        return decoder_;
    }
    QStringList setNames() const {
        QStringList names;
        for (const auto& entry : std::filesystem::directory_iterator(path("set")))
            names.append(QString::fromStdString(entry.path().filename().string()));
        names.sort();
        return names;
    }

    CViewDecoder* decoder_ = nullptr;
};

// Answers a stop box, checking that it offers OK and Cancel under the stop icon.
int answerStopBox(QDialog& dialog) {
    auto* box = qobject_cast<QMessageBox*>(&dialog);
    EXPECT_NE(box, nullptr);
    if (box) {
        EXPECT_EQ(box->icon(), QMessageBox::Critical);
        EXPECT_EQ(box->standardButtons(), QMessageBox::Ok | QMessageBox::Cancel);
    }
    return DialogAnswers::accept(dialog);
}

}  // namespace

TEST_F(DecoderFormTest, PickingPart03ProposesPart00AndTheNameAndTheJoinRebuildsTheFile) {
    const auto source = FileBytes::pattern(1'500'000, 7);
    const std::string set = makeSet(source);
    ASSERT_NE(openDecoder(), nullptr);
    EXPECT_EQ(decoder_->currentFolder(), QDir::currentPath());  // first run: the working directory
    EXPECT_FALSE(enabled(ID_DECODE));
    EXPECT_TRUE(text(1019).isEmpty());
    selectFolder(set);
    const std::string out = makeFolder("out");
    control<QLineEdit>(1005)->setText(QString::fromStdString(out));

    clickRow(*decoder_->fileList(), partName(3));
    EXPECT_EQ(text(1012).toStdString(), setPart(0));
    EXPECT_EQ(text(1014), QStringLiteral("Song Nr. 1.wav"));
    EXPECT_EQ(text(1022), QStringLiteral("4"));
    EXPECT_EQ(text(1019), QStringLiteral("GN"));  // Geo naming, name enciphered, data plain
    EXPECT_TRUE(enabled(ID_DECODE));

    ASSERT_TRUE(frame().commands().execute(ID_DECODE));
    EXPECT_EQ(FileBytes::read(out + "/Song Nr. 1.wav"), source);
    EXPECT_EQ(settings().getText("Settings", "RestInDir", ""), set);
    EXPECT_EQ(settings().getText("Settings", "RestOutDir", ""), out);
    EXPECT_EQ(setNames().size(), 4);  // no auto delete
}

TEST_F(DecoderFormTest, AMissingPartShowsItsBoxAndDisablesDecode) {
    makeSet(FileBytes::pattern(1'500'000));
    std::filesystem::remove(setPart(2));
    ASSERT_NE(openDecoder(), nullptr);
    selectFolder(path("set"));
    DialogAnswers answers({answerStopBox});
    clickRow(*decoder_->fileList(), partName(0));
    ASSERT_EQ(answers.seen().size(), 1u);
    EXPECT_TRUE(answers.seen()[0].text.contains(QStringLiteral("doesn't exist")));
    EXPECT_TRUE(answers.seen()[0].text.contains(QString::fromStdString(setPart(2))));
    EXPECT_TRUE(text(1014).isEmpty());
    EXPECT_FALSE(enabled(ID_DECODE));
}

TEST_F(DecoderFormTest, AWrongKeyStopsAtTheChecksumBoxAndDeletesNothing) {
    makeSet(FileBytes::pattern(900'000), "right", true);
    ASSERT_NE(openDecoder(), nullptr);
    selectFolder(path("set"));
    QTest::mouseClick(control<QCheckBox>(1029), Qt::LeftButton);  // auto delete
    QTest::keyClicks(control<QLineEdit>(1079), QStringLiteral("wrong"));
    clickRow(*decoder_->fileList(), partName(0));
    control<QLineEdit>(1014)->setText(QStringLiteral("rebuilt.wav"));
    DialogAnswers answers({answerStopBox});
    ASSERT_TRUE(frame().commands().execute(ID_DECODE));
    ASSERT_EQ(answers.seen().size(), 1u);
    EXPECT_TRUE(answers.seen()[0].text.contains(QStringLiteral("Checksum error")));
    EXPECT_EQ(setNames().size(), 3);
    EXPECT_FALSE(FileBytes::exists(path("set/rebuilt.wav")));
    EXPECT_EQ(settings().getInt("Settings", "AutoDelete", 0), 0);  // not written after a failure
}

TEST_F(DecoderFormTest, AutoDeleteLeavesOnlyTheRebuiltFileAndTheSettingsAreWritten) {
    const auto source = FileBytes::pattern(1'000'000, 9);
    const std::string set = makeSet(source, "key", true);
    ASSERT_NE(openDecoder(), nullptr);
    selectFolder(set);
    QTest::mouseClick(control<QCheckBox>(1029), Qt::LeftButton);
    QTest::keyClicks(control<QLineEdit>(1079), QStringLiteral("key"));
    // A double click picks the part and joins; without an output folder the file is rebuilt
    // beside its parts.
    clickRow(*decoder_->fileList(), partName(1), true);
    EXPECT_EQ(setNames(), QStringList{QStringLiteral("Song Nr. 1.wav")});
    EXPECT_EQ(FileBytes::read(set + "/Song Nr. 1.wav"), source);
    EXPECT_EQ(rowNames(*decoder_->fileList()), QStringList{QStringLiteral("Song Nr. 1.wav")});
    EXPECT_EQ(settings().getInt("Settings", "AutoDelete", 0), 1);
    EXPECT_EQ(settings().getText("Settings", "RestInDir", ""), set);
    EXPECT_EQ(settings().getText("Settings", "RestOutDir", "unset"), "");
}

TEST_F(DecoderFormTest, AClickOnTheEmptyAreaClearsTheFormAndDisablesDecode) {
    makeSet(FileBytes::pattern(500'000));
    ASSERT_NE(openDecoder(), nullptr);
    selectFolder(path("set"));
    clickRow(*decoder_->fileList(), partName(0));
    ASSERT_TRUE(enabled(ID_DECODE));
    clickEmptyArea(*decoder_->fileList());
    EXPECT_TRUE(text(1012).isEmpty());
    EXPECT_TRUE(text(1014).isEmpty());
    EXPECT_EQ(text(1022), QStringLiteral("0"));
    EXPECT_FALSE(enabled(ID_DECODE));
    EXPECT_FALSE(enabled(ID_LIST_RENAME));
    close(ModuleId::Decoder);
    EXPECT_EQ(settings().getText("Settings", "RestInDir", "unset"), "");
}

TEST_F(DecoderFormTest, TheSponsorCounterWrapsFromSevenToZero) {
    // The maker's pages come from the "WebBase" address; here a folder of the test.
    makeFolder("web/sponsors");
    FileBytes::writeText(path("web/sponsors/vyx_sponsor0.htm"),
                         "<html><head><title>Sponsor page 0</title></head><body>0</body></html>");
    settings().writeText("Settings", "WebBase", path("web"));
    settings().writeInt("Settings", "SpC", 7);
    ASSERT_NE(openDecoder(), nullptr);
    EXPECT_EQ(decoder_->sponsorTimer().interval(), CViewDecoder::FirstSponsorDelay);
    ASSERT_TRUE(WindowTestApp::waitUntil([this] { return decoder_->sponsorCounter() == 0; }, 5000));
    EXPECT_TRUE(WindowTestApp::waitUntil([this] { return decoder_->webPane()->title() == QStringLiteral("Sponsor page 0"); }, 10000));
    EXPECT_EQ(decoder_->webPane()->url(), QUrl::fromLocalFile(QString::fromStdString(path("web/sponsors/vyx_sponsor0.htm"))));
    EXPECT_TRUE(decoder_->sponsorTimer().isActive());
    EXPECT_EQ(decoder_->sponsorTimer().interval(), CViewDecoder::SponsorInterval);
    close(ModuleId::Decoder);
    EXPECT_EQ(settings().getInt("Settings", "SpC", -1), 0);
}

TEST_F(DecoderFormTest, AWriteErrorDuringTheJoinShowsABoxAndDeletesNoPart) {
    makeSet(FileBytes::pattern(1'500'000));
    ASSERT_NE(openDecoder(), nullptr);
    selectFolder(path("set"));
    QTest::mouseClick(control<QCheckBox>(1029), Qt::LeftButton);
    clickRow(*decoder_->fileList(), partName(0));
    DialogAnswers answers({DialogAnswers::accept});
    {
        FileSizeLimit limit(1'000'000);
        ASSERT_TRUE(frame().commands().execute(ID_DECODE));
    }
    ASSERT_EQ(answers.seen().size(), 1u);
    EXPECT_TRUE(answers.seen()[0].text.contains(QStringLiteral("File too large")));
    EXPECT_EQ(setNames().size(), 4);  // the four parts; no rebuilt file under its name
    EXPECT_FALSE(decoder_->status().progressBar()->isVisible());
}

TEST_F(DecoderFormTest, HelpAndGetKeyOpenTheirPagesInTheHelpBrowser) {
    app_->docTemplate(ModuleId::Help).setFormFactory([](FormHost&, Document&, ChildFrame&) { return new StandInHelp; });
    ASSERT_NE(openDecoder(), nullptr);
    QTest::mouseClick(control<QPushButton>(IDC_GET_KEY), Qt::LeftButton);
    decoder_->execute(ID_HELP);
    auto* help = dynamic_cast<StandInHelp*>(app_->form(ModuleId::Help));
    ASSERT_NE(help, nullptr);
    const QString web = app_->programFolder() + QStringLiteral("hlp/web/vyx30/vyx_cryptkey.htm");
    EXPECT_EQ(help->pages, (QStringList{QUrl::fromLocalFile(web).toString(), app_->programFolder() + "hlp/decoder.htm"}));
}
