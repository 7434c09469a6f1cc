#include "converter/CViewConverter.h"
#include "converter/forms/EncoderRun.h"
#include "framework/BrowseEdit.h"
#include "framework/ChildFrame.h"
#include "framework/CommandTable.h"
#include "framework/ControlId.h"
#include "resources/ResourceIds.h"
#include "shell/CDirList.h"
#include "shell/CMainFrame.h"
#include "support/StandInForms.h"
#include "support/ModuleFormTest.h"
#include "support/WindowTestApp.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QSignalSpy>
#include <QSlider>

#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// A one-second 440 Hz stereo tone, 16-bit PCM at 44.1 kHz.
void writeTone(const std::string& path) {
    constexpr std::uint32_t rate = 44100;
    constexpr std::uint16_t channels = 2;
    constexpr std::uint32_t frames = rate;
    std::vector<std::int16_t> samples;
    for (std::uint32_t i = 0; i < frames; ++i) {
        const auto value = static_cast<std::int16_t>(8000 * std::sin(2 * M_PI * 440 * i / rate));
        samples.insert(samples.end(), channels, value);
    }
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples.size() * sizeof(std::int16_t));
    std::ofstream out(path, std::ios::binary);
    const auto put32 = [&out](std::uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
    const auto put16 = [&out](std::uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
    out.write("RIFF", 4);
    put32(36 + dataBytes);
    out.write("WAVEfmt ", 8);
    put32(16);
    put16(1);
    put16(channels);
    put32(rate);
    put32(rate * channels * 2);
    put16(channels * 2);
    put16(16);
    out.write("data", 4);
    put32(dataBytes);
    out.write(reinterpret_cast<const char*>(samples.data()), dataBytes);
}

// The bytes of PCM data in a WAV file, or 0 when it is not one.
std::uint64_t wavDataBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    char head[12] = {};
    if (!in.read(head, 12) || std::string(head, 4) != "RIFF" || std::string(head + 8, 4) != "WAVE") return 0;
    char id[4];
    std::uint32_t size = 0;
    while (in.read(id, 4) && in.read(reinterpret_cast<char*>(&size), 4)) {
        if (std::string(id, 4) == "data") return fs::file_size(path) - static_cast<std::uint64_t>(in.tellg());
        in.seekg(size, std::ios::cur);
    }
    return 0;
}

// Decodes an MP3 with lame and answers the PCM bytes it gave.
std::uint64_t decodedBytes(const std::string& mp3, const std::string& wav) {
    if (QProcess::execute(QStringLiteral("lame"), {QStringLiteral("--quiet"), QStringLiteral("--decode"),
                                                   QString::fromStdString(mp3), QString::fromStdString(wav)}) != 0)
        return 0;
    return wavDataBytes(wav);
}

// Child processes of this test that ended and were never reaped.
int zombieChildren() {
    int zombies = 0;
    const std::string parent = "PPid:\t" + std::to_string(::getpid());
    for (const auto& entry : fs::directory_iterator("/proc")) {
        std::ifstream status(entry.path() / "status");
        std::string line;
        bool zombie = false;
        bool ours = false;
        while (std::getline(status, line)) {
            if (line.rfind("State:", 0) == 0) zombie = line.find('Z') != std::string::npos;
            if (line == parent) ours = true;
        }
        if (zombie && ours) ++zombies;
    }
    return zombies;
}

// The real program around the Converter, with an input and an output folder.
class ConverterFormTest : public ModuleFormTest {
protected:
    void SetUp() override {
        ModuleFormTest::SetUp();
        makeFolder("in");
        makeFolder("out");
    }

    CViewConverter* openConverter() {
        converter_ = open<CViewConverter>(ModuleId::Converter);
        return converter_;
    }
    void closeConverter() {
        close(ModuleId::Converter);
        converter_ = nullptr;
    }
    void choose(int boxId, const QString& entry) {
        auto* box = control<QComboBox>(boxId);
        const int index = box->findText(entry);
        ASSERT_GE(index, 0) << entry.toStdString();
        box->setCurrentIndex(index);
        emit box->activated(index);
    }
    // Lists the input folder and selects the rows of the names.
    void select(const QStringList& names) {
        selectFolder(in());
        CDirList& list = *converter_->fileList();
        for (const QString& name : names) {
            const auto found = list.findItems(name, Qt::MatchExactly, CDirList::NameColumn);
            ASSERT_EQ(found.size(), 1) << name.toStdString();
            found.front()->setSelected(true);
        }
    }
    QString report() { return control<QPlainTextEdit>(1062)->toPlainText(); }

    std::string in() const { return path("in"); }
    std::string out() const { return path("out"); }

    CViewConverter* converter_ = nullptr;
};

TEST_F(ConverterFormTest, DefaultsSettingsRateModesAndHelp) {
    settings().writeText("Converter", "ConvOutDir", out());
    settings().writeText("Converter", "WavInDir", in());
    app_->docTemplate(ModuleId::Help).setFormFactory([](FormHost&, Document&, ChildFrame&) { return new StandInHelp; });
    ASSERT_NE(openConverter(), nullptr);
    EXPECT_EQ(converter_->currentFolder().toStdString(), in() + "/");
    EXPECT_EQ(control<QLineEdit>(1061)->text().toStdString(), out());
    EXPECT_EQ(control<QComboBox>(1046)->currentText(), QStringLiteral("Lame MP3"));
    EXPECT_EQ(control<QComboBox>(1047)->currentText(), QStringLiteral("stereo"));
    EXPECT_EQ(control<QComboBox>(1048)->currentText(), QStringLiteral("128"));
    EXPECT_EQ(control<QComboBox>(1052)->currentText(), QStringLiteral("Constant bitrate"));
    EXPECT_EQ(control<QSlider>(1060)->value(), 4);
    EXPECT_EQ(control<QSlider>(1060)->maximum(), 10);
    EXPECT_EQ(control<QComboBox>(1054)->currentText(), CViewConverter::qualities().front());
    EXPECT_FALSE(control<QCheckBox>(1056)->isChecked());
    EXPECT_FALSE(control<QLineEdit>(1058)->isEnabled());
    EXPECT_TRUE(control<QPlainTextEdit>(1062)->isReadOnly());

    struct Expected {
        const char* mode;
        EncoderCommandLine::RateMode rateMode;
        bool minimal, maximal, average, slider;
    };
    for (const Expected& e : {Expected{"Variable bitrate", EncoderCommandLine::Variable, true, true, false, true},
                              Expected{"Average bitrate", EncoderCommandLine::Average, true, true, true, false},
                              Expected{"Constant bitrate", EncoderCommandLine::Constant, true, false, false, false}}) {
        SCOPED_TRACE(e.mode);
        choose(1052, QString::fromLatin1(e.mode));
        EXPECT_EQ(converter_->rateMode(), e.rateMode);
        EXPECT_EQ(control<QComboBox>(1048)->isEnabled(), e.minimal);
        EXPECT_EQ(control<QComboBox>(1049)->isEnabled(), e.maximal);
        EXPECT_EQ(control<QComboBox>(1051)->isEnabled(), e.average);
        EXPECT_EQ(control<QSlider>(1060)->isEnabled(), e.slider);
    }

    writeTone(in() + "/a.wav");
    selectFolder(in());
    EXPECT_FALSE(enabled(ID_START_CONVERT));
    select({QStringLiteral("a.wav")});
    EXPECT_TRUE(enabled(ID_START_CONVERT));

    converter_->execute(ID_HELP);
    auto* help = dynamic_cast<StandInHelp*>(app_->form(ModuleId::Help));
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->pages, QStringList{app_->programFolder() + "hlp/converter.htm"});
}

TEST_F(ConverterFormTest, ConvertsWavToMp3AndBackWithTheRealLame) {
    writeTone(in() + "/tone.wav");
    writeTone(in() + "/Grüße Mix.WAV");
    writeTone(path("back.wav"));
    ASSERT_EQ(QProcess::execute(QStringLiteral("lame"), {QStringLiteral("--quiet"), QString::fromStdString(path("back.wav")),
                                                         QString::fromStdString(in() + "/Back.MP3")}),
              0);
    std::ofstream(in() + "/notes.txt") << "not audio\n";

    ASSERT_NE(openConverter(), nullptr);
    control<QLineEdit>(1061)->setText(QString::fromStdString(out()));  // without its separator
    select({QStringLiteral("tone.wav"), QStringLiteral("Grüße Mix.WAV"), QStringLiteral("Back.MP3"),
            QStringLiteral("notes.txt")});
    QSignalSpy ended(converter_, &CViewConverter::encoderEnded);
    ASSERT_TRUE(frame().commands().execute(ID_START_CONVERT));
    ASSERT_TRUE(WindowTestApp::waitUntil([&ended] { return ended.count() == 3; }, 120'000)) << report().toStdString();

    for (const QList<QVariant>& run : ended) EXPECT_EQ(run.at(1).toInt(), 0) << run.at(0).toString().toStdString();
    const std::uint64_t second = 44100 * 4;
    for (const std::string name : {"tone.mp3", "grüße mix.mp3"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(fs::exists(out() + "/" + name));
        EXPECT_GE(decodedBytes(out() + "/" + name, path("check.wav")), second);
    }
    EXPECT_GE(wavDataBytes(out() + "/back.wav"), second);

    // The box tells what was started, in list order, and how each run ended.
    const QString text = report();
    EXPECT_TRUE(text.contains(QStringLiteral("--cbr -b 128 -m s -q 2 \"%1/Grüße Mix.WAV\" \"%2/grüße mix.mp3\"")
                                  .arg(QString::fromStdString(in()), QString::fromStdString(out()))))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("--decode \"%1/Back.MP3\"").arg(QString::fromStdString(in()))));
    EXPECT_TRUE(text.contains(QStringLiteral("notes.txt: skipped")));
    EXPECT_EQ(text.count(QStringLiteral(": exit status 0.")), 3) << text.toStdString();
    // The last lines come without the terminal control characters of lame's progress display.
    EXPECT_FALSE(text.contains(QLatin1Char('\b')));
}

TEST_F(ConverterFormTest, AFirstRunWritesBesideTheInputAndKeepsAnEmptySaveDir) {
    writeTone(in() + "/first.wav");
    ASSERT_NE(openConverter(), nullptr);
    EXPECT_TRUE(control<QLineEdit>(1061)->text().isEmpty());
    select({QStringLiteral("first.wav")});
    QSignalSpy ended(converter_, &CViewConverter::encoderEnded);
    ASSERT_TRUE(frame().commands().execute(ID_START_CONVERT));
    ASSERT_TRUE(WindowTestApp::waitUntil([&ended] { return ended.count() == 1; }, 120'000)) << report().toStdString();
    EXPECT_GE(decodedBytes(in() + "/first.mp3", path("check.wav")), 44100u * 4);
    EXPECT_FALSE(fs::exists(QDir::homePath().toStdString() + "/first.mp3"));
    closeConverter();
    EXPECT_EQ(settings().getText("Converter", "ConvOutDir", "unset"), "");
}

TEST_F(ConverterFormTest, EncodersOutliveTheFormAndAreReaped) {
    writeTone(in() + "/late.wav");
    ASSERT_NE(openConverter(), nullptr);
    control<QLineEdit>(1061)->setText(QString::fromStdString(out()));
    select({QStringLiteral("late.wav")});
    ASSERT_TRUE(frame().commands().execute(ID_START_CONVERT));
    const QList<EncoderRun*> runs = qApp->findChildren<EncoderRun*>();
    ASSERT_EQ(runs.size(), 1);
    QSignalSpy ended(runs.front(), &EncoderRun::ended);
    closeConverter();
    ASSERT_TRUE(WindowTestApp::waitUntil([&ended] { return ended.count() == 1; }, 120'000));
    EXPECT_EQ(ended.front().at(1).toInt(), 0) << ended.front().at(0).toString().toStdString();
    EXPECT_GE(decodedBytes(out() + "/late.mp3", path("check.wav")), 44100u * 4);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(qApp->findChildren<EncoderRun*>().isEmpty());
    EXPECT_EQ(zombieChildren(), 0);
}

TEST_F(ConverterFormTest, AMissingEncoderIsSaidInTheBox) {
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QByteArray("/nonexistent"));
    writeTone(in() + "/a.wav");
    ASSERT_NE(openConverter(), nullptr);
    select({QStringLiteral("a.wav")});
    EXPECT_TRUE(frame().commands().execute(ID_START_CONVERT));
    qputenv("PATH", path);
    EXPECT_TRUE(report().contains(QStringLiteral("The encoder \"lame\" was found neither in"))) << report().toStdString();
    EXPECT_TRUE(qApp->findChildren<EncoderRun*>().isEmpty());
}

TEST_F(ConverterFormTest, ARunReportsHowItsProgramEnded) {
    const std::string notAProgram = path("not-a-program");
    std::ofstream(notAProgram) << "plain text\n";
    fs::permissions(notAProgram, fs::perms::owner_all);
    struct Case {
        QString program;
        QStringList arguments;
        int exitCode;
        QString report;
    };
    const QString sh = QStringLiteral("/bin/sh");
    for (const Case& c : {
             Case{sh, {QStringLiteral("-c"), QStringLiteral("printf 'first\\nlast words\\r\\n'; exit 3")}, 3,
                  QStringLiteral("x.wav: exit status 3. last words")},
             Case{sh, {QStringLiteral("-c"), QStringLiteral("echo going; kill -9 $$")}, -1,
                  QStringLiteral("x.wav: the encoder was ended by a signal. going")},
             Case{QString::fromStdString(notAProgram), {}, -1, QStringLiteral("x.wav: the encoder could not be started")},
         }) {
        SCOPED_TRACE(c.report.toStdString());
        auto* run = new EncoderRun(QStringLiteral("x.wav"));
        QSignalSpy ended(run, &EncoderRun::ended);
        run->start(c.program, c.arguments, QString::fromStdString(folder()));
        ASSERT_TRUE(WindowTestApp::waitUntil([&ended] { return ended.count() == 1; }, 60'000));
        EXPECT_TRUE(ended.front().at(0).toString().startsWith(c.report)) << ended.front().at(0).toString().toStdString();
        EXPECT_EQ(ended.front().at(1).toInt(), c.exitCode);
    }
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(qApp->findChildren<EncoderRun*>().isEmpty());
}

}  // namespace
