#include "support/ModuleFormTest.h"

#include "framework/BrowseEdit.h"
#include "framework/ControlId.h"
#include "resources/ResourceIds.h"
#include "shell/CDirList.h"
#include "support/StandInForms.h"
#include "splitjoin/NameSanitizer.h"
#include "splitjoin/Splitter.h"
#include "splitjoin/forms/CViewDecoder.h"
#include "splitjoin/forms/SetCheckDialog.h"
#include "support/FileBytes.h"
#include "support/RecordingSinks.h"
#include "support/WindowTestApp.h"
#include "transfer/SetServer.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QProgressDialog>
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

TEST_F(DecoderFormTest, CheckSetShowsTheVerdictOfEveryPart) {
    makeSet(FileBytes::pattern(1'500'000, 3));
    ASSERT_NE(openDecoder(), nullptr);
    selectFolder(path("set"));
    EXPECT_FALSE(enabled(ID_CHECK_SET));
    clickRow(*decoder_->fileList(), partName(3));
    ASSERT_TRUE(enabled(ID_CHECK_SET));

    QStringList lines;
    QString summary;
    const auto readDialog = [&](QDialog& dialog) {
        auto* check = qobject_cast<SetCheckDialog*>(&dialog);
        EXPECT_NE(check, nullptr);
        if (!check) return DialogAnswers::reject(dialog);
        lines.clear();
        for (int row = 0; row < check->partList()->count(); ++row) lines.append(check->partList()->item(row)->text());
        summary = check->summaryLabel()->text();
        return DialogAnswers::reject(dialog);
    };
    {
        DialogAnswers answers({readDialog});
        ASSERT_TRUE(frame().commands().execute(ID_CHECK_SET));
    }
    EXPECT_EQ(lines.size(), 4);
    EXPECT_TRUE(summary.endsWith(QStringLiteral("complete and sound"))) << summary.toStdString();

    auto damaged = FileBytes::read(setPart(1));
    damaged[1000] ^= 0x40;
    FileBytes::write(setPart(1), damaged);
    std::filesystem::remove(setPart(2));
    {
        DialogAnswers answers({readDialog});
        ASSERT_TRUE(frame().commands().execute(ID_CHECK_SET));
    }
    ASSERT_EQ(lines.size(), 4) << lines.join('|').toStdString();
    EXPECT_EQ(lines[0], partName(0) + QStringLiteral(": OK"));
    EXPECT_TRUE(lines[1].startsWith(partName(1) + QStringLiteral(": damaged"))) << lines[1].toStdString();
    EXPECT_EQ(lines[2], partName(2) + QStringLiteral(": missing"));
    EXPECT_EQ(lines[3], partName(3) + QStringLiteral(": OK"));
    EXPECT_TRUE(summary.contains(QStringLiteral("2 parts missing or faulty"))) << summary.toStdString();
    EXPECT_EQ(setNames().size(), 3);  // the check wrote nothing
}

// Open Url joins on a worker thread: the window stays live, and Cancel ends a join whose server
// went silent, leaving nothing in the output folder.
TEST_F(DecoderFormTest, OpenUrlJoinsFromTheWebAndCancelLeavesNothing) {
    const auto source = FileBytes::pattern(1'500'000, 4);
    const std::string set = makeSet(source);
    ASSERT_NE(openDecoder(), nullptr);
    const auto typeAddress = [](const QString& address) {
        return [address](QDialog& dialog) {
            auto* input = qobject_cast<QInputDialog*>(&dialog);
            EXPECT_NE(input, nullptr);
            if (input) input->setTextValue(address);
            return DialogAnswers::accept(dialog);
        };
    };
    const auto entries = [](const std::string& folder) {
        QStringList names;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            names.append(QString::fromStdString(entry.path().filename().string()));
        return names;
    };
    const auto joinEnded = [this] {
        return WindowTestApp::waitUntil([this] { return decoder_->webJoinProgress() == nullptr; }, 60000);
    };

    const std::string out = makeFolder("out");
    control<QLineEdit>(1005)->setText(QString::fromStdString(out));
    {
        SetServer server("http", set);
        DialogAnswers answers({typeAddress(QString::fromStdString(server.url(partName(2).toStdString())))});
        ASSERT_TRUE(frame().commands().execute(ID_OPEN_URL));
        ASSERT_TRUE(joinEnded());
    }
    EXPECT_EQ(FileBytes::read(out + "/Song Nr. 1.wav"), source);
    EXPECT_EQ(entries(out), QStringList{QStringLiteral("Song Nr. 1.wav")});

    const std::string cancelled = makeFolder("cancelled");
    control<QLineEdit>(1005)->setText(QString::fromStdString(cancelled));
    SetServer silent("http", set, {"--stall-once", partName(1).toStdString()});
    DialogAnswers answers({typeAddress(QString::fromStdString(silent.url(partName(0).toStdString())))});
    ASSERT_TRUE(frame().commands().execute(ID_OPEN_URL));
    ASSERT_NE(decoder_->webJoinProgress(), nullptr);
    EXPECT_FALSE(enabled(ID_OPEN_URL));  // one join from the web at a time
    auto* cancel = decoder_->webJoinProgress()->findChild<QPushButton*>();
    ASSERT_NE(cancel, nullptr);
    QTest::mouseClick(cancel, Qt::LeftButton);
    ASSERT_TRUE(joinEnded());
    EXPECT_TRUE(entries(cancelled).isEmpty()) << entries(cancelled).join('|').toStdString();
    EXPECT_NE(decoder_->status().text().find("Cancelled"), std::string::npos) << decoder_->status().text();
    EXPECT_TRUE(enabled(ID_OPEN_URL));
}
