#include "splitjoin/forms/CViewDecoder.h"
#include "splitjoin/forms/SetCheckDialog.h"
#include "splitjoin/forms/WebJoinRun.h"

#include "base/FileError.h"
#include "base/SettingsStore.h"
#include "framework/BrowseEdit.h"
#include "framework/ChildFrame.h"
#include "framework/ControlId.h"
#include "framework/ControlLabel.h"
#include "framework/DialogRunner.h"
#include "framework/FormHost.h"
#include "framework/QtText.h"
#include "framework/StatusBar.h"
#include "resources/ResourceIds.h"
#include "resources/StringTable.h"
#include "shell/CDirList.h"
#include "splitjoin/CCode.h"
#include "splitjoin/PartNaming.h"
#include "splitjoin/PartType.h"
#include "splitjoin/SetChecker.h"

#include <QCheckBox>
#include <QDir>
#include <QGridLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWebEngineView>

namespace {

constexpr const char* kSection = "Settings";

template <typename Control>
Control* withId(Control* control, int id) {
    ControlId::set(control, id);
    return control;
}

QString boxTitle() { return fromStd(StringTable::text(IDS_FRAME_TITLE)); }

}  // namespace

QWidget* CViewDecoder::create(FormHost& host, Document&, ChildFrame& frame) { return new CViewDecoder(host, frame); }

CViewDecoder::CViewDecoder(FormHost& host, ChildFrame& frame)
    : host_(host), joiner_(status_, *this), webPages_(host.settings(), host.programFolder()) {
    createControls();
    readSettings();
    createBars(frame);
    addCommands();
    sponsorTimer_.setSingleShot(true);
    sponsorTimer_.setObjectName(QStringLiteral("timer_%1").arg(SponsorTimerId));
    connect(&sponsorTimer_, &QTimer::timeout, this, &CViewDecoder::nextSponsorPage);
}

CViewDecoder::~CViewDecoder() {
    sponsorTimer_.stop();
    webJoin_.reset(); // cancels a join from the web and waits for its thread
    writeSettings();
}

void CViewDecoder::createControls() {
    list_ = new CDirList(&host_.iconProvider(), this);
    inputEdit_ = withId(new QLineEdit(this), 1012);
    inputEdit_->setReadOnly(true);
    typeEdit_ = withId(new QLineEdit(this), 1019);
    typeEdit_->setReadOnly(true);
    typeEdit_->setMaximumWidth(80);
    countEdit_ = withId(new QLineEdit(this), 1022);
    countEdit_->setReadOnly(true);
    countEdit_->setMaximumWidth(60);
    autoDeleteBox_ = withId(new QCheckBox(QStringLiteral("autom. Löschen / auto delete"), this), 1029);
    outputFolderEdit_ = new BrowseEdit(1005, this);
    outputNameEdit_ = withId(new QLineEdit(this), 1014);
    web_ = withId(new QWebEngineView(this), 1045);
    web_->setMinimumHeight(90);
    web_->setAccessibleName(QStringLiteral("Sponsor page"));
    keyEdit_ = withId(new QLineEdit(this), 1079);
    keyEdit_->setMaxLength(static_cast<int>(CCode::MaxUserKeyLength));
    getKeyButton_ = withId(new QPushButton(QStringLiteral("Get Key"), this), IDC_GET_KEY);

    // The rows of template 123; the tab order follows them.
    auto* rows = new QGridLayout;
    rows->addWidget(ControlLabel::create(QStringLiteral("Split-Datei / Split Input"), inputEdit_, this), 0, 0);
    rows->addWidget(inputEdit_, 0, 1, 1, 2);
    rows->addWidget(ControlLabel::create(QStringLiteral("Decoder Type"), typeEdit_, this), 1, 0);
    auto* typeRow = new QHBoxLayout;
    typeRow->addWidget(typeEdit_);
    typeRow->addWidget(ControlLabel::create(QStringLiteral("Split Zähler / Count"), countEdit_, this));
    typeRow->addWidget(countEdit_);
    typeRow->addStretch(1);
    typeRow->addWidget(autoDeleteBox_);
    rows->addLayout(typeRow, 1, 1, 1, 2);
    rows->addWidget(ControlLabel::create(QStringLiteral("Ausgabeverzeichnis / Output Dir"), outputFolderEdit_->edit(), this), 2, 0);
    rows->addWidget(outputFolderEdit_, 2, 1, 1, 2);
    rows->addWidget(ControlLabel::create(QStringLiteral("Dateiname / Filename"), outputNameEdit_, this), 3, 0);
    rows->addWidget(outputNameEdit_, 3, 1, 1, 2);
    rows->addWidget(web_, 4, 0, 1, 2);
    auto* keyColumn = new QVBoxLayout;
    keyColumn->addWidget(ControlLabel::create(QStringLiteral("Crypt-Key"), keyEdit_, this));
    keyColumn->addWidget(keyEdit_);
    keyColumn->addWidget(getKeyButton_);
    keyColumn->addStretch(1);
    rows->addLayout(keyColumn, 4, 2);
    rows->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addLayout(rows);

    connect(list_, &CDirList::fileClicked, this, &CViewDecoder::onFileClicked);
    connect(list_, &CDirList::fileDoubleClicked, this, &CViewDecoder::onFileDoubleClicked);
    connect(list_, &CDirList::enterPressed, this, [this] { execute(ID_DECODE); });
    connect(getKeyButton_, &QPushButton::clicked, this, &CViewDecoder::showCryptKeyPage);
}

void CViewDecoder::createBars(ChildFrame& frame) {
    frame.addToolBar(IDR_DECODER_TOOLBAR, AFX_IDW_TOOLBAR);
    status_.attach(frame.addStatusBar({fromStd(StringTable::text(IDS_PANE_READY))}));
}

void CViewDecoder::addCommands() {
    const JoinValues& values = joiner_.values();
    const auto hasInput = [&values](CommandState& state) { state.enabled = !values.inputPart.empty(); };
    addCommand(ID_DECODE, [this] { Join(); },
               [this](CommandState& state) { state.enabled = !outputNameEdit_->text().isEmpty(); });
    list_->addFormCommands(*this, hasInput);
    addCommand(ID_HELP, [this] { showHelp(); });
    addCommand(IDC_GET_KEY, [this] { showCryptKeyPage(); });
    addCommand(ID_CHECK_SET, [this] { checkSet(); }, hasInput);
    addCommand(ID_OPEN_URL, [this] { openUrl(); },
               [this](CommandState& state) { state.enabled = webJoin_ == nullptr; });
}

void CViewDecoder::readSettings() {
    const SettingsStore& settings = host_.settings();
    JoinValues& values = joiner_.values();
    values.outputFolder = settings.getText(kSection, "RestOutDir", "");
    values.inputFolder = settings.getText(kSection, "RestInDir", "");
    values.autoDelete = settings.getInt(kSection, "AutoDelete", 0) != 0;
    sponsorCounter_ = settings.getInt(kSection, "SpC", 0);
}

void CViewDecoder::writeJoinSettings() const {
    SettingsStore& settings = host_.settings();
    const JoinValues& values = joiner_.values();
    settings.writeText(kSection, "RestInDir", values.inputFolder);
    settings.writeText(kSection, "RestOutDir", values.outputFolder);
    settings.writeInt(kSection, "AutoDelete", values.autoDelete ? 1 : 0);
}

void CViewDecoder::writeSettings() const {
    writeJoinSettings();
    const int pages = MakerWebPages::SponsorPageCount;
    host_.settings().writeInt(kSection, "SpC", ((sponsorCounter_ % pages) + pages) % pages);
}

void CViewDecoder::initialUpdate(ChildFrame&) {
    list_->InitColumns(QString(), true);
    JoinValues& values = joiner_.values();
    if (values.inputFolder.empty()) values.inputFolder = toStd(QDir::currentPath());
    sponsorTimer_.start(FirstSponsorDelay);
    showValues();
}

QString CViewDecoder::currentFolder() const { return fromStd(joiner_.values().inputFolder); }

void CViewDecoder::setCurrentFolder(const QString& folder) { joiner_.values().inputFolder = toStd(folder); }

bool CViewDecoder::ReceiveFolder(const QString& folder) {
    setCurrentFolder(folder);
    return list_->ShowFolder(folder);
}

void CViewDecoder::showStopBox(const std::string& text) {
    QMessageBox box(QMessageBox::Critical, boxTitle(), fromStd(text), QMessageBox::Ok | QMessageBox::Cancel, this);
    DialogRunner::run(box);
}

void CViewDecoder::takeValues() {
    JoinValues& values = joiner_.values();
    values.outputFolder = toStd(outputFolderEdit_->text());
    values.outputName = toStd(outputNameEdit_->text());
    values.userKey = toStd(keyEdit_->text());
    values.autoDelete = autoDeleteBox_->isChecked();
}

void CViewDecoder::showValues() {
    const JoinValues& values = joiner_.values();
    inputEdit_->setText(fromStd(values.inputPart));
    // The type label stays empty until a file was picked.
    if (picked_) typeEdit_->setText(fromStd(std::string(PartType::label(values.partType))));
    countEdit_->setText(QString::number(values.partCount));
    autoDeleteBox_->setChecked(values.autoDelete);
    outputFolderEdit_->setText(fromStd(values.outputFolder));
    outputNameEdit_->setText(fromStd(values.outputName));
    keyEdit_->setText(fromStd(values.userKey));
}

void CViewDecoder::onFileClicked() {
    takeValues();
    const std::string path = toStd(list_->GetClickedFile());
    picked_ = picked_ || !path.empty();
    joiner_.PickPart(path);
    showValues();
}

void CViewDecoder::onFileDoubleClicked() {
    onFileClicked();
    if (!joiner_.values().outputName.empty()) Join();
}

void CViewDecoder::Join() {
    takeValues();
    JoinValues& values = joiner_.values();
    // No output folder: the file is rebuilt beside its parts rather than in the program's
    // working directory. The field stays empty.
    const std::string outputFolder = values.outputFolder;
    if (values.outputFolder.empty()) values.outputFolder = values.inputFolder;
    const bool intoListedFolder = values.outputFolder == values.inputFolder;
    joiner_.setProgressCallback([this](const Progress& step) { status_.progress(step); });
    joiner_.setPartDeletedCallback([this](const std::string&) {
        showValues();
        list_->RefreshList();
    });
    status_.begin();
    bool joined = false;
    try {
        joined = joiner_.Join();
    } catch (const FileError& error) {
        status_.end();
        values.outputFolder = outputFolder;
        DialogRunner::critical(this, boxTitle(), fromStd(error.description()));
        showValues();
        return;
    }
    status_.end();
    values.outputFolder = outputFolder;
    if (joined) {
        if (!values.autoDelete && intoListedFolder) list_->RefreshList();
        writeJoinSettings();
    }
    showValues();
}

void CViewDecoder::nextSponsorPage() {
    sponsorTimer_.stop();
    sponsorCounter_ = (sponsorCounter_ + 1) % MakerWebPages::SponsorPageCount;
    if (sponsorCounter_ < 0) sponsorCounter_ += MakerWebPages::SponsorPageCount;
    web_->load(webPages_.sponsorPage(sponsorCounter_));
    sponsorTimer_.start(SponsorInterval);
}

void CViewDecoder::showHelp() {
    host_.showProgramHelp(QStringLiteral("decoder.htm"));
}

void CViewDecoder::showCryptKeyPage() {
    host_.ShowHelpPage(webPages_.cryptKeyPage().toString());
}

// Checks the picked part's set without writing anything and shows every part's verdict.
void CViewDecoder::checkSet() {
    takeValues();
    const JoinValues& values = joiner_.values();
    SetChecker::Result result;
    try {
        result = SetChecker::check(values.inputPart, values.userKey);
    } catch (const FileError& error) {
        DialogRunner::critical(this, boxTitle(), fromStd(error.description()));
        return;
    }
    status_.setStatus(toStd(SetCheckDialog::summary(result)));
    SetCheckDialog dialog(result, this);
    DialogRunner::run(dialog);
}

void CViewDecoder::openUrl() {
    QInputDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("Open Url"));
    dialog.setLabelText(QStringLiteral("Web address of a part or of the download page (http://, https://, ftp://):"));
    dialog.setTextValue(lastAddress_);
    if (DialogRunner::run(dialog) != QDialog::Accepted) return;
    const QString address = dialog.textValue().trimmed();
    if (address.isEmpty()) return;
    lastAddress_ = address;
    startWebJoin(toStd(address));
}

// The set is fetched into the output folder (beside the listed parts when none is set) under the
// name stored in it, on a worker thread; the window stays live and the progress box can cancel.
void CViewDecoder::startWebJoin(const std::string& address) {
    takeValues();
    const JoinValues& values = joiner_.values();
    WebJoiner::Request request;
    request.address = address;
    request.outputFolder = values.outputFolder.empty() ? values.inputFolder : values.outputFolder;
    request.userKey = values.userKey;
    webJoin_ = std::make_unique<WebJoinRun>(request);
    webProgress_ = new QProgressDialog(QStringLiteral("Joining from ") + fromStd(address), QStringLiteral("Cancel"), 0,
                                       100, this);
    webProgress_->setWindowTitle(QStringLiteral("Open Url"));
    webProgress_->setMinimumDuration(0);
    webProgress_->setAutoClose(false);
    webProgress_->setAutoReset(false);
    webProgress_->setValue(0);
    connect(webProgress_, &QProgressDialog::canceled, this, [this] {
        if (webJoin_) webJoin_->cancel();
    });
    connect(webJoin_.get(), &WebJoinRun::statusChanged, this,
            [this](const QString& text) { status_.setStatus(toStd(text)); });
    connect(webJoin_.get(), &WebJoinRun::progressed, this, [this](int percent) {
        if (webProgress_) webProgress_->setValue(percent);
    });
    connect(webJoin_.get(), &WebJoinRun::finished, this, &CViewDecoder::endWebJoin);
    webProgress_->show();
    webJoin_->start();
}

void CViewDecoder::endWebJoin(bool joined, const QString& outputPath, const QString& stopBox) {
    webJoin_.reset();
    delete webProgress_;
    webProgress_ = nullptr;
    if (!stopBox.isEmpty()) showStopBox(toStd(stopBox));
    const std::string folder = std::string(PartNaming::folder(toStd(outputPath)));
    if (joined && folder == joiner_.values().inputFolder) list_->RefreshList();
}
