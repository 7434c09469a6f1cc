#include "converter/CViewConverter.h"

#include "base/SettingsStore.h"
#include "converter/forms/EncoderRun.h"
#include "converter/ProgramLookup.h"
#include "framework/BrowseEdit.h"
#include "framework/ChildFrame.h"
#include "framework/ControlId.h"
#include "framework/ControlLabel.h"
#include "framework/FormHost.h"
#include "framework/QtText.h"
#include "framework/StatusBar.h"
#include "resources/ResourceIds.h"
#include "resources/StringTable.h"
#include "shell/CDirList.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleValidator>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSlider>
#include <QVBoxLayout>

namespace {

constexpr const char* kSection = "Converter";
const QString kLameEntry = QStringLiteral("Lame MP3");
const QString kOggEntry = QStringLiteral("Ogg Vorbis");
constexpr int kRunningPane = 2;


template <typename Control>
Control* withId(Control* control, int id) {
    ControlId::set(control, id);
    return control;
}

// Shows a value in a box: the list entry that matches it without regard to case, else the text.
void showText(QComboBox* box, const std::string& value) {
    const int entry = box->findText(fromStd(value), Qt::MatchFixedString);
    if (entry >= 0)
        box->setCurrentIndex(entry);
    else if (box->isEditable())
        box->setEditText(fromStd(value));
}

QString runningText(int running) { return QObject::tr("Encoders running: %1").arg(running); }

}  // namespace

const QStringList& CViewConverter::channels() {
    static const QStringList entries{QStringLiteral("default"),      QStringLiteral("stereo"),
                                     QStringLiteral("joint stereo"), QStringLiteral("forced joint stereo"),
                                     QStringLiteral("dual channel"), QStringLiteral("mono")};
    return entries;
}

const QStringList& CViewConverter::bitrates() {
    static const QStringList entries{QStringLiteral("32"),  QStringLiteral("40"),  QStringLiteral("48"),
                                     QStringLiteral("56"),  QStringLiteral("64"),  QStringLiteral("80"),
                                     QStringLiteral("96"),  QStringLiteral("112"), QStringLiteral("128"),
                                     QStringLiteral("160"), QStringLiteral("192"), QStringLiteral("224"),
                                     QStringLiteral("256"), QStringLiteral("320")};
    return entries;
}

const QStringList& CViewConverter::bitrateModes() {
    static const QStringList entries{QStringLiteral("Constant bitrate"), QStringLiteral("Average bitrate"),
                                     QStringLiteral("Variable bitrate")};
    return entries;
}

const QStringList& CViewConverter::qualities() {
    static const QStringList entries{QStringLiteral("2 | High Quality Mode ( recommended )"),
                                     QStringLiteral("5 | Default ( good speed, good quality )"),
                                     QStringLiteral("7 | Fast Mode ( very fast, ok quality )")};
    return entries;
}

QWidget* CViewConverter::create(FormHost& host, Document&, ChildFrame& frame) { return new CViewConverter(host, frame); }

CViewConverter::CViewConverter(FormHost& host, ChildFrame& frame) : host_(host) {
    values_.channel = "Stereo";
    values_.quality = toStd(qualities().front());
    createControls();
    readSettings();
    createBars(frame);
    addCommands();
}

CViewConverter::~CViewConverter() { writeSettings(); }

QComboBox* CViewConverter::addComboBox(int id, const QStringList& entries) {
    auto* box = withId(new QComboBox(this), id);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(entries);
    return box;
}

void CViewConverter::createControls() {
    list_ = new CDirList(&host_.iconProvider(), this);
    ControlId::set(list_, 1001);
    encoderBox_ = withId(new QComboBox(this), 1046);
    encoderBox_->addItem(kLameEntry);
    // The second encoder is offered only where it can run.
    if (!ProgramLookup::find(EncoderCommandLine::OggProgram, toStd(host_.programFolder())).empty())
        encoderBox_->addItem(kOggEntry);
    encoderBox_->model()->sort(0);
    encoderBox_->setEnabled(encoderBox_->count() > 1);
    channelBox_ = addComboBox(1047, channels());
    minBox_ = addComboBox(1048, bitrates());
    maxBox_ = addComboBox(1049, bitrates());
    avgBox_ = addComboBox(1051, bitrates());
    modeBox_ = addComboBox(1052, bitrateModes());
    vbrSlider_ = withId(new QSlider(Qt::Horizontal, this), 1060);
    vbrSlider_->setTickPosition(QSlider::TicksBelow);
    qualityBox_ = addComboBox(1054, qualities());
    scaleBox_ = withId(new QCheckBox(QStringLiteral("Scale Volume"), this), 1056);
    scaleEdit_ = withId(new QLineEdit(QStringLiteral("1.0"), this), 1058);
    scaleEdit_->setValidator(new QDoubleValidator(0.0, 1.0, 3, scaleEdit_));
    scaleEdit_->setEnabled(false);
    outputFolderEdit_ = new BrowseEdit(1061, this);
    reportBox_ = withId(new QPlainTextEdit(this), 1062);
    reportBox_->setReadOnly(true);
    reportBox_->setMaximumBlockCount(1000);
    reportBox_->setAccessibleName(QStringLiteral("Encoder report"));
    scaleEdit_->setAccessibleName(QStringLiteral("Scale factor"));

    auto* bitrateGroup = new QGroupBox(QStringLiteral("Bitrate"), this);
    auto* bitrateRows = new QGridLayout(bitrateGroup);
    bitrateRows->addWidget(ControlLabel::create(QStringLiteral("Minimal"), minBox_, this), 0, 0);
    bitrateRows->addWidget(minBox_, 0, 1);
    bitrateRows->addWidget(ControlLabel::create(QStringLiteral("Maximal"), maxBox_, this), 1, 0);
    bitrateRows->addWidget(maxBox_, 1, 1);
    bitrateRows->addWidget(ControlLabel::create(QStringLiteral("Average"), avgBox_, this), 2, 0);
    bitrateRows->addWidget(avgBox_, 2, 1);

    auto* options = new QGridLayout;
    options->addWidget(ControlLabel::create(QStringLiteral("WAV Codec"), encoderBox_, this), 0, 0);
    options->addWidget(encoderBox_, 0, 1);
    options->addWidget(ControlLabel::create(QStringLiteral("Channel"), channelBox_, this), 1, 0);
    options->addWidget(channelBox_, 1, 1);
    options->addWidget(ControlLabel::create(QStringLiteral("Mode"), modeBox_, this), 2, 0);
    options->addWidget(modeBox_, 2, 1);
    options->addWidget(ControlLabel::create(QStringLiteral("VBR Q"), vbrSlider_, this), 3, 0);
    options->addWidget(vbrSlider_, 3, 1);
    options->addWidget(bitrateGroup, 0, 2, 4, 1);
    options->addWidget(ControlLabel::create(QStringLiteral("Algorithm quality selection"), qualityBox_, this), 4, 0);
    options->addWidget(qualityBox_, 4, 1, 1, 2);
    auto* scaleRow = new QHBoxLayout;
    scaleRow->addWidget(scaleBox_);
    scaleRow->addWidget(scaleEdit_);
    scaleRow->addStretch(1);
    options->addLayout(scaleRow, 5, 0, 1, 3);
    options->addWidget(ControlLabel::create(QStringLiteral("Save Dir"), outputFolderEdit_->edit(), this), 6, 0);
    options->addWidget(outputFolderEdit_, 6, 1, 1, 2);
    options->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_, 3);
    layout->addLayout(options);
    layout->addWidget(reportBox_, 1);

    connect(encoderBox_, &QComboBox::activated, this, [this] { UpdateControls(); });
    connect(modeBox_, &QComboBox::activated, this, [this] { UpdateRateMode(); });
    connect(list_, &CDirList::enterPressed, this, [this] { execute(ID_START_CONVERT); });
}

void CViewConverter::createBars(ChildFrame& frame) {
    frame.addToolBar(IDR_CONVERTER, AFX_IDW_TOOLBAR);
    statusBar_ = frame.addStatusBar({fromStd(StringTable::text(IDS_PANE_READY)), runningText(0)});
}

void CViewConverter::addCommands() {
    const auto hasSelection = [this](CommandState& state) { state.enabled = !list_->selectedItems().isEmpty(); };
    addCommand(ID_START_CONVERT, [this] { Convert(); }, hasSelection);
    list_->addFormCommands(*this, {});
    addCommand(ID_HELP, [this] { showHelp(); });
}

void CViewConverter::readSettings() {
    const SettingsStore& settings = host_.settings();
    const std::string home = toStd(QDir::homePath());
    values_.inputFolder = settings.getText(kSection, "WavInDir", home);
    // No Save Dir until the user picks one: the converted files go beside their input.
    values_.outputFolder = settings.getText(kSection, "ConvOutDir", "");
}

void CViewConverter::writeSettings() const {
    // Kept for the next session, so that the Converter opens where the user left it.
    SettingsStore& settings = host_.settings();
    settings.writeText(kSection, "WavInDir", values_.inputFolder);
    settings.writeText(kSection, "ConvOutDir", toStd(outputFolderEdit_->text()));
}

void CViewConverter::initialUpdate(ChildFrame&) {
    list_->InitColumns(QString(), true);
    outputFolderEdit_->setText(fromStd(values_.outputFolder));
    vbrSlider_->setRange(0, 10);
    showValues();
    UpdateControls();
}

QString CViewConverter::currentFolder() const { return fromStd(values_.inputFolder); }

void CViewConverter::setCurrentFolder(const QString& folder) { values_.inputFolder = toStd(folder); }

bool CViewConverter::ReceiveFolder(const QString& folder) {
    setCurrentFolder(folder);
    values_.inputFolder = EncoderCommandLine::withSeparator(values_.inputFolder);
    return list_->ShowFolder(folder);
}

void CViewConverter::takeValues() {
    values_.isLame = encoderBox_->currentIndex() >= 0 && encoderBox_->currentText().contains(QStringLiteral("Lame"));
    values_.channel = toStd(channelBox_->currentText());
    values_.minBitrate = toStd(minBox_->currentText());
    values_.maxBitrate = toStd(maxBox_->currentText());
    values_.avgBitrate = toStd(avgBox_->currentText());
    values_.bitrateMode = toStd(modeBox_->currentText());
    values_.vbrQuality = vbrSlider_->value();
    values_.quality = toStd(qualityBox_->currentText());
}

void CViewConverter::showValues() {
    encoderBox_->setCurrentIndex(values_.isLame ? encoderBox_->findText(kLameEntry) : encoderBox_->findText(kOggEntry));
    showText(channelBox_, values_.channel);
    showText(minBox_, values_.minBitrate);
    showText(maxBox_, values_.maxBitrate);
    showText(avgBox_, values_.avgBitrate);
    showText(modeBox_, values_.bitrateMode);
    vbrSlider_->setValue(values_.vbrQuality);
    showText(qualityBox_, values_.quality);
}

void CViewConverter::UpdateControls() {
    takeValues();
    for (QWidget* lameOnly : {static_cast<QWidget*>(modeBox_), static_cast<QWidget*>(channelBox_),
                              static_cast<QWidget*>(vbrSlider_), static_cast<QWidget*>(qualityBox_),
                              static_cast<QWidget*>(scaleBox_)})
        lameOnly->setEnabled(values_.isLame);
    scaleEdit_->setEnabled(false);
    applyRateMode(values_.bitrateMode);
    showValues();
}

void CViewConverter::UpdateRateMode() {
    takeValues();
    applyRateMode(modeBox_->currentIndex() >= 0 ? toStd(modeBox_->currentText()) : std::string());
}

void CViewConverter::applyRateMode(const std::string& bitrateModeText) {
    rateMode_ = EncoderCommandLine::rateModeOf(values_.isLame, bitrateModeText);
    minBox_->setEnabled(true);
    maxBox_->setEnabled(rateMode_ != EncoderCommandLine::Constant);
    avgBox_->setEnabled(rateMode_ == EncoderCommandLine::Average || rateMode_ == EncoderCommandLine::NotLame);
    if (values_.isLame) vbrSlider_->setEnabled(rateMode_ == EncoderCommandLine::Variable);
}

void CViewConverter::Convert() {
    takeValues();
    values_.outputFolder = EncoderCommandLine::withSeparator(toStd(outputFolderEdit_->text()));
    const char* programName = values_.isLame ? EncoderCommandLine::LameProgram : EncoderCommandLine::OggProgram;
    const QString program = fromStd(ProgramLookup::find(programName, toStd(host_.programFolder())));
    if (program.isEmpty()) {
        report(tr("The encoder \"%1\" was found neither in %2 nor on PATH; nothing was started.")
                   .arg(QString::fromLatin1(programName), host_.programFolder()));
        return;
    }
    for (const QString& path : list_->selectedPaths()) {
        const QString fileName = QFileInfo(path).fileName();
        const auto command = EncoderCommandLine::forFile(values_, toStd(fileName));
        if (!command) {
            report(tr("%1: skipped, neither a WAV nor an MP3 file for this encoder.").arg(fileName));
            continue;
        }
        startEncoder(program, *command, fileName);
    }
    showValues();
}

void CViewConverter::startEncoder(const QString& program, const EncoderCommand& command, const QString& fileName) {
    QStringList arguments;
    for (const std::string& argument : command.arguments) arguments.append(fromStd(argument));
    report(program + QLatin1Char(' ') + fromStd(command.text));
    auto* run = new EncoderRun(fileName);
    ++running_;
    showRunning();
    connect(run, &EncoderRun::ended, this, [this](const QString& line, int exitCode) {
        --running_;
        showRunning();
        report(line);
        emit encoderEnded(line, exitCode);
    });
    run->start(program, arguments, host_.programFolder());
}

void CViewConverter::report(const QString& line) { reportBox_->appendPlainText(line); }

void CViewConverter::showRunning() {
    if (statusBar_) statusBar_->setPaneText(kRunningPane, runningText(running_));
}

void CViewConverter::showHelp() {
    host_.showProgramHelp(QStringLiteral("converter.htm"));
}
