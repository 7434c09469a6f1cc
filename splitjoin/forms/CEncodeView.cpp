#include "splitjoin/forms/CEncodeView.h"

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
#include "splitjoin/SplitSize.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

constexpr const char* kSection = "Encoder";

template <typename Control>
Control* withId(Control* control, int id) {
    ControlId::set(control, id);
    return control;
}

// The "CryptKey" bytes: the text before the first NUL, no longer than the key field takes.
std::string cryptKeyOf(const std::vector<std::uint8_t>& bytes) {
    std::string key;
    for (const std::uint8_t byte : bytes) {
        if (byte == 0 || key.size() == CCode::MaxUserKeyLength) break;
        key.push_back(static_cast<char>(byte));
    }
    return key;
}

}  // namespace

const QStringList& CEncodeView::splitSizes() {
    static const QStringList sizes{
        QStringLiteral("0.0 MB unsplit"), QStringLiteral("0.4 MB"), QStringLiteral("0.5 MB"), QStringLiteral("0.8 MB"),
        QStringLiteral("1.0 MB"),         QStringLiteral("1.4 MB"), QStringLiteral("1.8 MB"), QStringLiteral("2.0 MB"),
        QStringLiteral("2.5 MB"),         QStringLiteral("3.0 MB"), QStringLiteral("4.0 MB"), QStringLiteral("5.0 MB")};
    return sizes;
}

QWidget* CEncodeView::create(FormHost& host, Document&, ChildFrame& frame) { return new CEncodeView(host, frame); }

CEncodeView::CEncodeView(FormHost& host, ChildFrame& frame) : host_(host), splitter_(status_) {
    SplitValues& values = splitter_.values();
    values.cryptData = true;
    values.makePage = true;
    values.appDir = toStd(host_.programFolder());
    createControls();
    readSettings();
    createBars(frame);
    addCommands();
}

CEncodeView::~CEncodeView() { writeSettings(); }

void CEncodeView::createControls() {
    list_ = new CDirList(&host_.iconProvider(), this);
    sourceEdit_ = withId(new QLineEdit(this), 1033);
    sourceEdit_->setReadOnly(true);
    sizeBox_ = withId(new QComboBox(this), 1004);
    sizeBox_->setEditable(true);
    sizeBox_->setInsertPolicy(QComboBox::NoInsert);
    sizeBox_->addItems(splitSizes());
    countEdit_ = withId(new QLineEdit(this), 1021);
    countEdit_->setReadOnly(true);
    filterBox_ = withId(new QCheckBox(QStringLiteral("Filter"), this), 1078);
    keyEdit_ = withId(new QLineEdit(this), 1082);
    keyEdit_->setMaxLength(static_cast<int>(CCode::MaxUserKeyLength));
    outputFolderEdit_ = new BrowseEdit(1043, this);
    outputNameEdit_ = withId(new QLineEdit(this), 1042);
    cryptBox_ = withId(new QCheckBox(QStringLiteral("Crypt data"), this), 1035);
    geoBox_ = withId(new QCheckBox(QStringLiteral("Geo"), this), 1038);
    geoBox_->setChecked(true);
    geoBox_->setEnabled(false);  // Geo naming is the only naming a split writes
    pageBox_ = withId(new QCheckBox(QStringLiteral("Generate HTML file"), this), 1024);
    dateBox_ = withId(new QCheckBox(QStringLiteral("Date"), this), 1077);
    uploaderEdit_ = withId(new QLineEdit(this), 1036);
    // The "Last update" line stands below the user's own foot text, so it needs that text.
    const QString needsFoot = QStringLiteral("Adds a \"Last update\" line to the download page; only when a bottom.txt "
                                             "with the page's foot text lies in the program folder");
    dateBox_->setToolTip(needsFoot);
    uploaderEdit_->setToolTip(QStringLiteral("The name put before the date in the \"Last update\" line (needs Date and "
                                             "a bottom.txt in the program folder)"));

    // The rows of template 210; the tab order follows them.
    auto* rows = new QGridLayout;
    rows->addWidget(ControlLabel::create(QStringLiteral("Encode-Datei / Encode Input"), sourceEdit_, this), 0, 0);
    rows->addWidget(sourceEdit_, 0, 1, 1, 7);
    rows->addWidget(ControlLabel::create(QStringLiteral("Split size"), sizeBox_, this), 1, 0);
    auto* sizeRow = new QHBoxLayout;
    sizeRow->addWidget(sizeBox_);
    sizeRow->addWidget(ControlLabel::create(QStringLiteral("Split Zähler / Count"), countEdit_, this));
    sizeRow->addWidget(countEdit_);
    countEdit_->setMaximumWidth(60);
    sizeRow->addWidget(filterBox_);
    sizeRow->addWidget(ControlLabel::create(QStringLiteral("Crypt-Key"), keyEdit_, this));
    sizeRow->addWidget(keyEdit_);
    rows->addLayout(sizeRow, 1, 1, 1, 7);
    rows->addWidget(ControlLabel::create(QStringLiteral("Ausgabeverzeichnis / Output Dir"), outputFolderEdit_->edit(), this), 2, 0);
    rows->addWidget(outputFolderEdit_, 2, 1, 1, 7);
    rows->addWidget(ControlLabel::create(QStringLiteral("Ausgabe-Datei / Output File"), outputNameEdit_, this), 3, 0);
    rows->addWidget(outputNameEdit_, 3, 1, 1, 7);
    auto* optionRow = new QHBoxLayout;
    for (QWidget* option : {static_cast<QWidget*>(cryptBox_), static_cast<QWidget*>(geoBox_),
                            static_cast<QWidget*>(pageBox_), static_cast<QWidget*>(dateBox_)})
        optionRow->addWidget(option);
    optionRow->addWidget(ControlLabel::create(QStringLiteral("Uploader"), uploaderEdit_, this));
    optionRow->addWidget(uploaderEdit_, 1);
    rows->addLayout(optionRow, 4, 0, 1, 8);
    rows->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addLayout(rows);

    connect(list_, &CDirList::fileClicked, this, &CEncodeView::onFileClicked);
    connect(list_, &CDirList::enterPressed, this, [this] { execute(ID_SPLIT); });
    connect(sizeBox_, &QComboBox::activated, this, &CEncodeView::onSplitSizeChanged);
    connect(sizeBox_->lineEdit(), &QLineEdit::editingFinished, this, &CEncodeView::onSplitSizeChanged);
    connect(dateBox_, &QCheckBox::clicked, this, [this] { takeValues(); });
    connect(filterBox_, &QCheckBox::clicked, this, &CEncodeView::onFilterClicked);
}

void CEncodeView::createBars(ChildFrame& frame) {
    frame.addToolBar(IDR_ENCODER, AFX_IDW_TOOLBAR);
    status_.attach(frame.addStatusBar({fromStd(StringTable::text(IDS_PANE_READY))}));
}

void CEncodeView::addCommands() {
    const SplitValues& values = splitter_.values();
    const auto hasSource = [&values](CommandState& state) { state.enabled = !values.sourcePath.empty(); };
    addCommand(ID_SPLIT, [this] { Split(); }, [&values](CommandState& state) { state.enabled = values.ready; });
    list_->addFormCommands(*this, hasSource);
    addCommand(ID_SHOW_PAGE, [this] { showPage(); }, [&values](CommandState& state) { state.enabled = values.pageDone; });
    addCommand(ID_HELP, [this] { showHelp(); });
}

void CEncodeView::readSettings() {
    const SettingsStore& settings = host_.settings();
    SplitValues& values = splitter_.values();
    if (const auto key = settings.getBytes(kSection, "CryptKey")) values.userKey = cryptKeyOf(*key);
    values.currentFolder = settings.getText(kSection, "SplitInDir", toStd(QDir::homePath()));
    values.outputFolder = settings.getText(kSection, "SplitOutDir", "");
    values.uploader = settings.getText(kSection, "Uploader", "");
    values.splitSize = SplitSize(settings.getText(kSection, "SplitSize", "1.0 MB"));
    values.pageDate = settings.getInt(kSection, "SplitDate", 0) != 0;
    filter_ = settings.getInt(kSection, "Filter", 0) != 0;
    values.ready = false;
    values.pageDone = false;
    values.style = settings.getInt(kSection, "Style", 0);
}

void CEncodeView::writeSettings() const {
    SettingsStore& settings = host_.settings();
    const SplitValues& values = splitter_.values();
    settings.writeText(kSection, "SplitInDir", values.currentFolder);
    settings.writeText(kSection, "SplitOutDir", toStd(outputFolderEdit_->text()));
    settings.writeText(kSection, "Uploader", values.uploader);
    settings.writeText(kSection, "SplitSize", values.splitSize.text());
    settings.writeInt(kSection, "SplitDate", values.pageDate ? 1 : 0);
    settings.writeInt(kSection, "Filter", filter_ ? 1 : 0);
}

void CEncodeView::initialUpdate(ChildFrame&) {
    list_->InitColumns(QString(), true);
    outputFolderEdit_->setText(fromStd(splitter_.values().outputFolder));
    showValues();
}

QString CEncodeView::currentFolder() const { return fromStd(splitter_.values().currentFolder); }

void CEncodeView::setCurrentFolder(const QString& folder) { splitter_.values().currentFolder = toStd(folder); }

bool CEncodeView::ReceiveFolder(const QString& folder) {
    setCurrentFolder(folder);
    list_->SetFilter(filter_ ? QStringLiteral(".mp3") : QString());
    return list_->ShowFolder(folder);
}

void CEncodeView::takeValues() {
    SplitValues& values = splitter_.values();
    // The size is read from its text here and nowhere else.
    const std::string sizeText = toStd(sizeBox_->currentText());
    if (sizeText != values.splitSize.text()) values.splitSize = SplitSize(sizeText);
    filter_ = filterBox_->isChecked();
    values.userKey = toStd(keyEdit_->text());
    values.outputName = toStd(outputNameEdit_->text());
    values.cryptData = cryptBox_->isChecked();
    values.makePage = pageBox_->isChecked();
    values.pageDate = dateBox_->isChecked();
    values.uploader = toStd(uploaderEdit_->text());
}

void CEncodeView::showValues() {
    const SplitValues& values = splitter_.values();
    sourceEdit_->setText(fromStd(values.sourcePath));
    sizeBox_->setCurrentText(fromStd(values.splitSize.text()));
    countEdit_->setText(QString::number(values.partCount));
    filterBox_->setChecked(filter_);
    keyEdit_->setText(fromStd(values.userKey));
    outputNameEdit_->setText(fromStd(values.outputName));
    cryptBox_->setChecked(values.cryptData);
    pageBox_->setChecked(values.makePage);
    dateBox_->setChecked(values.pageDate);
    uploaderEdit_->setText(fromStd(values.uploader));
}

void CEncodeView::onFileClicked() {
    // Text typed into the fields since they were last read is kept, as in the Decoder.
    takeValues();
    splitter_.DeriveOutputName(toStd(list_->GetClickedFile()));
    showValues();
}

// An entry chosen from the list, or the typed text when the field loses the focus.
void CEncodeView::onSplitSizeChanged() {
    takeValues();
    SplitValues& values = splitter_.values();
    values.partCount = 0;
    if (values.ready) splitter_.CountParts();
    showValues();
}

void CEncodeView::onFilterClicked() {
    takeValues();
    const QString folder = currentFolder();
    // The tree hands the folder back through ReceiveFolder; a folder the tree does not hold is
    // listed here directly.
    if (!host_.SelectFolder(folder) && !folder.isEmpty()) ReceiveFolder(folder);
}

void CEncodeView::Split() {
    SplitValues& values = splitter_.values();
    values.outputFolder = toStd(outputFolderEdit_->text());
    // No output folder: the parts go beside the source rather than into the program's
    // working directory.
    const std::string outputFolder = values.outputFolder;
    if (values.outputFolder.empty()) values.outputFolder = values.currentFolder;
    splitter_.setProgressCallback([this](const Progress& step) { status_.progress(step); });
    status_.begin();
    try {
        splitter_.Split();
    } catch (const FileError& error) {
        status_.end();
        values.outputFolder = outputFolder;
        DialogRunner::critical(this, fromStd(StringTable::text(IDS_FRAME_TITLE)),
                               fromStd(error.description()));
        showValues();
        return;
    }
    status_.end();
    const bool intoListedFolder = values.outputFolder == toStd(list_->shownFolder());
    values.outputFolder = outputFolder;
    showValues();
    if (intoListedFolder) list_->RefreshList();
}

void CEncodeView::showPage() {
    const SplitValues& values = splitter_.values();
    if (!values.pagePath.empty()) host_.ShowHelpPage(fromStd(values.pagePath));
}

void CEncodeView::showHelp() {
    host_.showProgramHelp(QStringLiteral("encoder.htm"));
}
