#include "player/forms/CViewPlayer.h"

#include "base/SettingsStore.h"
#include "base/TextFormat.h"
#include "framework/BrowseEdit.h"
#include "framework/ChildFrame.h"
#include "framework/ControlId.h"
#include "framework/ControlLabel.h"
#include "framework/DialogRunner.h"
#include "framework/FormHost.h"
#include "framework/QtText.h"
#include "framework/MenuBuilder.h"
#include "framework/StatusBar.h"
#include "metadata/forms/CXAnalyzerTree.h"
#include "platform/xaudio/OutputDevices.h"
#include "platform/xaudio/XA_Codes.h"
#include "player/FileOutputName.h"
#include "player/SamplePlayer.h"
#include "player/XaudioException.h"
#include "player/forms/EqualizerPane.h"
#include "player/forms/LevelMeter.h"
#include "player/forms/MprisService.h"
#include "player/forms/ReportedPosition.h"
#include "player/forms/VisualisationWindow.h"
#include "resources/ResourceIds.h"
#include "shell/CAddUrl.h"
#include "shell/CDirList.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QSplitter>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

constexpr const char* kSettings = "Settings";
constexpr const char* kEqualizer = "Equalizer";
constexpr const char* kPitchProperty = "OUTPUT.DIRECTSOUND.PITCH";
constexpr int kNormalPitch = 1000;
constexpr int kMaxIdentifiedDevices = 20;
const QString kPlayerTitle = QStringLiteral("Player");

constexpr std::array<const char*, 3> kHandlerNames = {"sample-spectrum", "sample-oscilloscope", "sample-vu"};
constexpr std::array<int, 3> kVisualisationIds = {IDC_SPECTRUM, IDC_OSCILLOSCOPE, IDC_VU};
constexpr std::array<int, 3> kOutputIds = {1011, 1013, 1020};


template <typename Control>
Control* withId(Control* control, int id) {
    ControlId::set(control, id);
    return control;
}

QSlider* horizontalSlider(QWidget* parent, int id, int minimum, int maximum, int value) {
    auto* slider = withId(new QSlider(Qt::Horizontal, parent), id);
    slider->setRange(minimum, maximum);
    slider->setValue(value);
    return slider;
}

// The folder part of a path (without the trailing separator; "/" for a file in the root).
QString folderOf(const QString& path) {
    const int separator = path.lastIndexOf(QLatin1Char('/'));
    if (separator < 0) return QString();
    return separator == 0 ? QStringLiteral("/") : path.left(separator);
}

// What the component opens for a queued location. An Add URL entry keeps the blank before its
// bar in the queue; a URL never ends in a blank, and the stream would not connect with it.
std::string openableLocation(const std::string& location) {
    if (location.find("://") == std::string::npos) return location;
    const std::size_t end = location.find_last_not_of(" \t");
    return end == std::string::npos ? std::string() : location.substr(0, end + 1);
}

} // namespace

QWidget* CViewPlayer::create(FormHost& host, Document&, ChildFrame& frame) { return new CViewPlayer(host, frame); }

CViewPlayer::CViewPlayer(FormHost& host, ChildFrame& frame) : host_(host), frame_(&frame) {
    readSettings();
    createControls();
    createBars(frame);
    addCommands();
    connectControls();
}

CViewPlayer::~CViewPlayer() {
    // Off the bus first: the adaptors ask this form.
    mpris_.reset();
    sequencer_.cancel();
    host_.settings().writeText(kSettings, "RestOutDir", toStd(currentFolder_));
    send(XA::OutputOpen, nullptr);
    send(XA::InputClose);
    send(XA::Stop);
    send(XA::FeedbackStop);
    // The decoding thread ends here, before the visualisation window and the meters go.
    player_.reset();
    host_.settings().writeText(kEqualizer, "FileOutDir", toStd(fileOutputFolder()));
    host_.settings().writeInt(kEqualizer, "Device", device_);
}

void CViewPlayer::readSettings() {
    const SettingsStore& settings = host_.settings();
    currentFolder_ = fromStd(settings.getText(kSettings, "RestOutDir", ""));
    if (currentFolder_.isEmpty()) currentFolder_ = QDir::homePath();
    fileOutDir_ = fromStd(settings.getText(kEqualizer, "FileOutDir", toStd(QDir::tempPath())));
    device_ = settings.getInt(kEqualizer, "Device", 0);
}

// ---- controls

void CViewPlayer::createControls() {
    list_ = new CDirList(&host_.iconProvider(), this);
    ControlId::set(list_, 1001);
    tree_ = withId(new CXAnalyzerTree(this), 1023);
    tree_->setStatusSink(&paneZero_);
    tree_->setAccessibleName(QStringLiteral("Track information"));

    auto* files = new QSplitter(Qt::Horizontal, this);
    files->addWidget(list_);
    files->addWidget(tree_);
    files->setStretchFactor(0, 3);
    files->setStretchFactor(1, 2);

    auto* controls = new QHBoxLayout;
    controls->addWidget(createPlaylistPane(), 2);
    controls->addWidget(createSoundPane());
    controls->addWidget(createOutputPane(), 1);
    createEqualizerPane();
    // The equalizer stands beside the lists rather than in the row below, so that the whole form
    // fits the main window's opening size.
    auto* top = new QHBoxLayout;
    top->addWidget(files, 1);
    top->addWidget(equalizer_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(controls);
}

QWidget* CViewPlayer::createPlaylistPane() {
    auto* pane = new QGroupBox(QStringLiteral("Playlist"), this);
    playlistBox_ = withId(new QListWidget(pane), 1007);
    positionSlider_ = horizontalSlider(pane, 1081, 0, XA::PositionRange, 0);
    playlistBox_->setAccessibleName(QStringLiteral("Playlist"));
    positionSlider_->setAccessibleName(QStringLiteral("Position"));
    auto* layout = new QVBoxLayout(pane);
    layout->addWidget(playlistBox_, 1);
    layout->addWidget(positionSlider_);
    return pane;
}

QWidget* CViewPlayer::createSoundPane() {
    auto* pane = new QWidget(this);
    visualisationWindow_ = withId(new VisualisationWindow(pane), 1057);
    leftMeter_ = withId(new LevelMeter(pane), 1015);
    rightMeter_ = withId(new LevelMeter(pane), 1018);
    visualisationWindow_->setAccessibleName(QStringLiteral("Visualisation"));
    leftMeter_->setAccessibleName(QStringLiteral("Left level"));
    rightMeter_->setAccessibleName(QStringLiteral("Right level"));
    const std::array<QString, 3> modeTexts = {QStringLiteral("Spectrum"), QStringLiteral("Oscillo"), QStringLiteral("VU")};
    auto* modes = new QHBoxLayout;
    for (std::size_t i = 0; i < modeTexts.size(); ++i) {
        visualisationButtons_[i] = withId(new QRadioButton(modeTexts[i], pane), kVisualisationIds[i]);
        modes->addWidget(visualisationButtons_[i]);
    }
    // Levels as the component starts: full volume, centred balance.
    masterSlider_ = horizontalSlider(pane, 1083, 0, 100, 100);
    pcmSlider_ = horizontalSlider(pane, 1084, 0, 100, 100);
    balanceSlider_ = horizontalSlider(pane, 1088, 0, 100, 50);
    pitchSlider_ = horizontalSlider(pane, 1009, 900, 1100, kNormalPitch);

    auto* layout = new QGridLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(visualisationWindow_, 0, 0, 1, 2);
    layout->addWidget(new QLabel(QStringLiteral("L"), pane), 1, 0);
    layout->addWidget(leftMeter_, 1, 1);
    layout->addWidget(new QLabel(QStringLiteral("R"), pane), 2, 0);
    layout->addWidget(rightMeter_, 2, 1);
    layout->addLayout(modes, 3, 0, 1, 2);
    auto* levels = new QGridLayout;
    const std::array<std::pair<QString, QSlider*>, 4> rows = {{{QStringLiteral("Master Level"), masterSlider_},
                                                               {QStringLiteral("PCM Level"), pcmSlider_},
                                                               {QStringLiteral("Balance"), balanceSlider_},
                                                               {QStringLiteral("Pitch"), pitchSlider_}}};
    for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
        levels->addWidget(ControlLabel::create(rows[row].first, rows[row].second, pane), row, 0);
        levels->addWidget(rows[row].second, row, 1);
    }
    layout->addLayout(levels, 4, 0, 1, 2);
    for (LevelMeter* meter : {leftMeter_, rightMeter_}) meter->setFixedHeight(10);
    return pane;
}

QWidget* CViewPlayer::createOutputPane() {
    auto* pane = new QGroupBox(QStringLiteral("Output"), this);
    const std::array<QString, 3> outputTexts = {QStringLiteral("Direct sound"), QStringLiteral("Soundcard"),
                                                QStringLiteral("File")};
    auto* layout = new QVBoxLayout(pane);
    for (std::size_t i = 0; i < outputTexts.size(); ++i) {
        outputButtons_[i] = withId(new QRadioButton(outputTexts[i], pane), kOutputIds[i]);
        layout->addWidget(outputButtons_[i]);
    }
    deviceBox_ = withId(new QComboBox(pane), 1063);
    layout->addWidget(ControlLabel::create(QStringLiteral("Sound Device Select"), deviceBox_, pane));
    deviceBox_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    deviceBox_->setMinimumContentsLength(16);
    layout->addWidget(deviceBox_);
    outputFolderEdit_ = new BrowseEdit(1028, pane);
    outputFolderEdit_->edit()->setAccessibleName(QStringLiteral("Output folder"));
    layout->addWidget(outputFolderEdit_);
    layout->addStretch(1);
    return pane;
}

void CViewPlayer::createEqualizerPane() {
    equalizer_ = new EqualizerPane(
        host_.settings(),
        [this](const std::optional<EqualizerTable::Bytes>& table) {
            send(XA::Equalizer, table ? XA_Argument(*table) : XA_Argument(nullptr));
        },
        this);
}

void CViewPlayer::createBars(ChildFrame& frame) {
    frame.addToolBar(IDR_PLAYER, AFX_IDW_TOOLBAR);
    statusBar_ = frame.addStatusBar(
        {QStringLiteral("STOPPED"), QStringLiteral("128 KBit"), QStringLiteral("00:00:00"), QStringLiteral("00:00:00")});
}

void CViewPlayer::addCommands() {
    addCommand(IDC_PLAY, [this] { Play(); }, [this](CommandState& state) { state.enabled = lastState() != XA::Playing; });
    addCommand(ID_PLAYER_PAUSE, [this] { Pause(); },
               [this](CommandState& state) { state.enabled = lastState() == XA::Playing; });
    addCommand(IDC_STOP, [this] { Stop(); }, [this](CommandState& state) { state.enabled = lastState() != XA::Stopped; });
    addCommand(IDC_EQUALIZER, [this] { equalizer_->toggle(); }, [this](CommandState& state) {
        state.checkable = true;
        state.checked = equalizer_->isOn();
    });
    for (std::size_t i = 0; i < kVisualisationIds.size(); ++i) {
        const auto mode = static_cast<Visualisation>(i);
        addCommand(kVisualisationIds[i], [this, mode] { selectVisualisation(mode); }, [this, mode](CommandState& state) {
            state.checkable = true;
            state.checked = visualisation_ == mode;
        });
    }
    list_->addFormCommands(*this, {});
    addCommand(ID_HELP, [this] { showHelp(); });
    addPlaylistCommands();
}

void CViewPlayer::addPlaylistCommands() {
    addCommand(ID_PLAYLIST_START, [this] { startSelectedEntry(); });
    addCommand(ID_PLAYLIST_STOP, [this] { stopPlaylist(); });
    addCommand(ID_PLAYLIST_DELETE, [this] { deleteSelectedEntry(); });
    addCommand(ID_PLAYLIST_CLEAR_ALL, [this] { Stop(); });
    addCommand(ID_PLAYLIST_ADD_URL, [this] { addUrl(); });
    addCommand(ID_PLAYLIST_SAVE, [this] { savePlaylist(); });
}

void CViewPlayer::connectControls() {
    connect(list_, &CDirList::fileClicked, this, &CViewPlayer::onFileClicked);
    connect(list_, &CDirList::fileDoubleClicked, this, &CViewPlayer::onFileDoubleClicked);
    connect(list_, &CDirList::enterPressed, this, &CViewPlayer::onFileDoubleClicked);
    connect(playlistBox_, &QListWidget::itemDoubleClicked, this, [this] { startSelectedEntry(); });
    connect(positionSlider_, &QSlider::sliderPressed, this, &CViewPlayer::beginSeek);
    connect(positionSlider_, &QSlider::sliderReleased, this, &CViewPlayer::endSeek);
    connect(positionSlider_, &QSlider::actionTriggered, this, [this](int action) {
        if (action == QAbstractSlider::SliderMove || action == QAbstractSlider::SliderNoAction) return;
        // A step or page move is a whole scroll: the end follows once the slider took its value.
        beginSeek();
        QMetaObject::invokeMethod(this, &CViewPlayer::endSeek, Qt::QueuedConnection);
    });
    for (QSlider* level : {masterSlider_, pcmSlider_, balanceSlider_})
        connect(level, &QSlider::valueChanged, this, [this, level] { sendLevels(level); });
    connect(pitchSlider_, &QSlider::valueChanged, this, &CViewPlayer::sendPitch);
    for (std::size_t i = 0; i < visualisationButtons_.size(); ++i)
        connect(visualisationButtons_[i], &QRadioButton::clicked, this,
                [this, i] { selectVisualisation(static_cast<Visualisation>(i)); });
    for (std::size_t i = 0; i < outputButtons_.size(); ++i)
        connect(outputButtons_[i], &QRadioButton::clicked, this, [this, i] { selectOutput(static_cast<Output>(i)); });
    connect(deviceBox_, &QComboBox::activated, this, &CViewPlayer::deviceRoutine);
    connect(tree_, &CXAnalyzerTree::analysed, this, &CViewPlayer::takeAnalysedFacts);
    connect(outputFolderEdit_, &BrowseEdit::folderChosen, this, [this](const QString& folder) { fileOutDir_ = folder; });
}

void CViewPlayer::initialUpdate(ChildFrame&) {
    list_->InitColumns(QString(), true);
    outputFolderEdit_->setReadOnly(true);
    outputFolderEdit_->setBrowseEnabled(false);
    fillDeviceList();
    createPlayer();
    selectOutput(Soundcard);
    selectVisualisation(Spectrum);
    equalizer_->load();
    outputFolderEdit_->setText(fileOutDir_);
    mpris_ = MprisService::create(*this);
}

void CViewPlayer::fillDeviceList() {
    int identified = 0;
    for (const OutputDevice& device : OutputDevices::list()) {
        // The default output always; named devices up to a bound, so that the list stays usable.
        if (!device.device.empty() && identified++ >= kMaxIdentifiedDevices) continue;
        deviceBox_->addItem(fromStd(device.description));
    }
    if (deviceBox_->count() == 0)
        setPaneText(0, "No Sound Device found");
    else
        deviceBox_->setCurrentIndex(device_ >= 0 && device_ < deviceBox_->count() ? device_ : -1);
    deviceBox_->setEnabled(deviceBox_->count() >= 2);
}

void CViewPlayer::createPlayer() {
    try {
        player_ = std::make_unique<SamplePlayer>(this);
        player_->setOwner(this);
    } catch (const XaudioException&) {
        // Without a player the form stays usable; nothing is sent.
        player_.reset();
    }
}

// ---- settings of the folder

QString CViewPlayer::currentFolder() const { return currentFolder_; }

void CViewPlayer::setCurrentFolder(const QString& folder) { currentFolder_ = folder; }

bool CViewPlayer::ReceiveFolder(const QString& folder) {
    setCurrentFolder(folder);
    return list_->ShowFolder(folder);
}

QString CViewPlayer::fileOutputFolder() const {
    const QString folder = outputFolderEdit_->text();
    return folder.isEmpty() ? fileOutDir_ : folder;
}

// ---- what the wrapper shows

FeedbackSurfaceSink* CViewPlayer::visualisationWindow() { return visualisationWindow_; }
int CViewPlayer::visualisationWidth() { return visualisationWindow_->width(); }
int CViewPlayer::visualisationHeight() { return visualisationWindow_->height(); }
LevelMeterSink* CViewPlayer::leftLevelMeter() { return leftMeter_; }
LevelMeterSink* CViewPlayer::rightLevelMeter() { return rightMeter_; }

void CViewPlayer::setPaneText(int pane, const std::string& text) {
    if (statusBar_) statusBar_->setPaneText(pane, fromStd(text));
    // Pane 1 shows the player's state: it changes with every state the player reports.
    if (pane == 1) mediaChanged();
}

void CViewPlayer::setDocumentTitle(const std::string& title) {
    if (!frame_) return;
    frame_->document().setTitle(fromStd(title));
    frame_->setWindowTitle(fromStd(title));
}

void CViewPlayer::enablePositionSlider(bool enabled) {
    positionSlider_->setEnabled(enabled);
    mediaChanged();
}

void CViewPlayer::setPositionSlider(int offset) { showReportedPosition(positionSlider_, offset); }
void CViewPlayer::setBalanceSlider(int value) { showReportedPosition(balanceSlider_, value); }
void CViewPlayer::setPcmSlider(int value) { showReportedPosition(pcmSlider_, value); }
void CViewPlayer::setMasterSlider(int value) {
    showReportedPosition(masterSlider_, value);
    mediaChanged();
}

void CViewPlayer::setEqualizerEnabled(bool enabled) { equalizer_->showOn(enabled); }

void CViewPlayer::setEqualizerSliders(const EqualizerTable::Positions& positions) {
    equalizer_->showPositions(positions);
}

void CViewPlayer::showStopBox(const std::string& text) {
    DialogRunner::critical(this, QStringLiteral("Xaudio Error"), fromStd(text));
}

int CViewPlayer::lastState() const { return player_ ? player_->lastState : XA::Stopped; }

void CViewPlayer::sendCommand(XA_Command command) {
    if (observer_) observer_(command);
    if (player_) control_message_post(player_->handle(), std::move(command));
}

// ---- transport

void CViewPlayer::Play() {
    switch (lastState()) {
    case XA::Stopped: {
        const QString location = selectedPath_.section(QLatin1Char('|'), 0, 0);
        const QString display = selectedPath_.section(QLatin1Char('/'), -1);
        if (!selectedPath_.isEmpty()) currentFolder_ = folderOf(selectedPath_);
        currentTitle_ = toStd(display);
        queue_.append({toStd(display), toStd(location)});
        sequencer().start();
        mediaChanged();
        break;
    }
    case XA::Playing: send(XA::Pause); break;
    default: send(XA::Play); break;
    }
}

void CViewPlayer::Pause() { send(XA::Pause); }

void CViewPlayer::Stop() {
    sequencer().halt();
    stopRoutine();
}

void CViewPlayer::stopRoutine() {
    if (lastState() != XA::Stopped)
        send(XA::Stop);
    else
        sequencer().stopAskedWhileStopped();
    queue_.clear();
    playlistBox_->clear();
    setDocumentTitle(toStd(kPlayerTitle));
    mediaChanged();
}

void CViewPlayer::stoppedRoutine() {
    send(XA::OutputOpen, nullptr);
    send(XA::InputClose);
    currentTitle_.clear();
    setPaneText(0, "");
    setDocumentTitle(toStd(kPlayerTitle));
    showReportedPosition(positionSlider_, 0);
    // No more samples come: the meters and the picture would otherwise hold the last level.
    leftMeter_->setLevel(0);
    rightMeter_->setLevel(0);
    visualisationWindow_->clear();
    nowPlaying_.reset();
    nowPlayingLocation_.clear();
    mediaChanged();
    sequencer().playerStopped();
}

bool CViewPlayer::isStopped() const { return lastState() == XA::Stopped; }

void CViewPlayer::closeWhenStopped() {
    sequencer().closeWhenStopped();
    stopRoutine();
}

// ---- the playback sequencer

PlaybackSequencer::Hands CViewPlayer::sequencerHands() {
    PlaybackSequencer::Hands hands;
    hands.showTitle = [this](const std::string& display) { currentTitle_ = display; };
    hands.play = [this](const CTwoStrings& entry) { return playEntry(entry); };
    hands.clearPlaylist = [this] { playlistBox_->clear(); };
    hands.selectedDisplay = [this] { return selectedPlaylistEntry(); };
    hands.closeWindow = [this] {
        if (frame_) QMetaObject::invokeMethod(frame_, &ChildFrame::closeWithoutAsking, Qt::QueuedConnection);
    };
    return hands;
}

bool CViewPlayer::playEntry(const CTwoStrings& entry) {
    if (!openOutputFor(entry)) return false;
    const std::string location = openableLocation(entry.location);
    nowPlayingLocation_ = fromStd(location);
    Track track;
    track.number = ++entriesPlayed_;
    track.title = fromStd(entry.display);
    track.url = nowPlayingLocation_.contains(QStringLiteral("://")) ? nowPlayingLocation_
                                                                  : QUrl::fromLocalFile(nowPlayingLocation_).toString();
    nowPlaying_ = track;
    tree_->AnalyseFile(nowPlayingLocation_);
    send(XA::InputOpen, location);
    refreshPlaylistBox();
    send(XA::Play);
    return true;
}

bool CViewPlayer::openOutputFor(const CTwoStrings& entry) {
    if (output_ != File) {
        deviceRoutine();
        return true;
    }
    const QString folder = fileOutputFolder();
    if (!QFileInfo(folder).isDir()) {
        setPaneText(0, TextFormat::format("Output folder %s does not exist", toStd(folder).c_str()));
        return false;
    }
    const QString target = fromStd(FileOutputName::path(toStd(folder), entry.display));
    // A song named like its output in the output folder itself is never overwritten.
    if (QFileInfo(target).exists() && QFileInfo(target).canonicalFilePath() == QFileInfo(fromStd(entry.location)).canonicalFilePath()) {
        setPaneText(0, TextFormat::format("%s would replace the song itself", toStd(target).c_str()));
        return false;
    }
    send(XA::OutputOpen, FileOutputName::outputName(toStd(folder), entry.display));
    return true;
}

void CViewPlayer::deviceRoutine() {
    device_ = deviceBox_->currentIndex();
    send(XA::OutputOpen, TextFormat::format(output_ != DirectSound ? "/dev/wave/%d" : "/dev/dsound/%d", device_));
}

std::optional<std::string> CViewPlayer::selectedPlaylistEntry() const {
    const QListWidgetItem* selected = playlistBox_->currentItem();
    if (!selected || !selected->isSelected()) return std::nullopt;
    return toStd(selected->text());
}

// ---- the file list

void CViewPlayer::takeClickedFile() {
    selectedPath_ = list_->GetClickedFile();
    if (!selectedPath_.isEmpty()) currentFolder_ = folderOf(selectedPath_);
    tree_->AnalyseFile(selectedPath_);
}

void CViewPlayer::onFileClicked() { takeClickedFile(); }

void CViewPlayer::onFileDoubleClicked() {
    takeClickedFile();
    if (selectedPath_.isEmpty()) return;
    const QString name = selectedPath_.section(QLatin1Char('/'), -1);
    if (name.contains(QStringLiteral(".m3u"), Qt::CaseInsensitive)) {
        loadPlaylist(selectedPath_, true);
        return;
    }
    queue_.append({toStd(name), toStd(selectedPath_.section(QLatin1Char('|'), 0, 0))});
    sequencer().entriesQueued(lastState());
    refreshPlaylistBox();
}

void CViewPlayer::addToPlaylist(const QStringList& paths) {
    for (const QString& path : paths)
        if (!path.isEmpty()) queue_.addLocation(toStd(path));
    refreshPlaylistBox();
}

void CViewPlayer::playFromList() {
    // The list's selection was just cleared with a click beside the rows: no file is picked.
    selectedPath_.clear();
    Play();
}

// ---- the playlist

void CViewPlayer::addLocation(const QString& text, bool start) {
    if (text.contains(QStringLiteral(".m3u"))) {
        loadPlaylist(text, start);
        return;
    }
    queue_.addLocation(toStd(text));
    refreshPlaylistBox();
}

void CViewPlayer::loadPlaylist(const QString& path, bool start) {
    queue_.loadPlaylist(toStd(path));
    if (!queue_.loadMessage().empty()) paneZero_.setStatus(queue_.loadMessage());
    refreshPlaylistBox();
    if (queue_.empty() || !start) return;
    sequencer().entriesQueued(lastState());
}

void CViewPlayer::refreshPlaylistBox() {
    playlistBox_->clear();
    for (const CTwoStrings& entry : queue_.entries()) playlistBox_->addItem(fromStd(entry.display));
    if (QListWidgetItem* top = playlistBox_->item(std::max(0, playlistBox_->count() - 5)))
        playlistBox_->scrollToItem(top, QAbstractItemView::PositionAtTop);
    mediaChanged();
}

void CViewPlayer::startSelectedEntry() {
    if (lastState() != XA::Stopped) send(XA::Stop);
    sequencer().playSelected();
}

void CViewPlayer::stopPlaylist() {
    if (lastState() != XA::Stopped) send(XA::Stop);
    sequencer().halt();
}

void CViewPlayer::deleteSelectedEntry() {
    QListWidgetItem* selected = playlistBox_->currentItem();
    if (!selected || !selected->isSelected()) return;
    queue_.remove(toStd(selected->text()));
    delete selected;
    mediaChanged();
}

void CViewPlayer::addUrl() {
    CAddUrl dialog(this);
    if (DialogRunner::run(dialog) != QDialog::Accepted || dialog.address.isEmpty()) return;
    // Without a comment the address itself names the entry, rather than nothing being queued.
    const QString comment = dialog.comment.trimmed().isEmpty() ? dialog.address.trimmed() : dialog.comment;
    const std::size_t before = queue_.size();
    addLocation(QStringLiteral("%1 | %2").arg(dialog.address, comment), false);
    if (queue_.size() == before)
        paneZero_.setStatus(toStd(QStringLiteral("Not added: %1 (an http:// address, not queued yet)").arg(dialog.address)));
    refreshPlaylistBox();
}

void CViewPlayer::savePlaylist() {
    QFileDialog dialog(this, QString(), currentFolder_,
                       QStringLiteral("Playlist (*.m3u);;All Files (*.*)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("m3u"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (DialogRunner::run(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    const QString path = dialog.selectedFiles().first();
    currentFolder_ = folderOf(path);
    const std::string folder = currentFolder_.endsWith(QLatin1Char('/')) ? toStd(currentFolder_)
                                                                          : toStd(currentFolder_) + "/";
    std::string error;
    if (!queue_.save(toStd(path), folder, error)) setPaneText(0, error);
}

// ---- position, levels, pitch

void CViewPlayer::beginSeek() {
    if (!player_ || player_->seeking) return;
    player_->seeking = 1;
    send(XA::Pause);
}

void CViewPlayer::endSeek() {
    send(XA::Seek, positionSlider_->value(), XA::PositionRange);
    if (!player_ || !player_->seeking) return;
    player_->seeking = 0;
    if (player_->lastState == XA::Playing) send(XA::Play);
}

void CViewPlayer::sendLevels(QSlider* moved) {
    const int keep = XA::KeepLevel;
    const int position = moved->value();
    if (moved == masterSlider_) {
        send(XA::Levels, keep, keep, position);
        mediaChanged();
    }
    if (moved == pcmSlider_) send(XA::Levels, keep, position, keep);
    if (moved == balanceSlider_) send(XA::Levels, position, keep, keep);
}

void CViewPlayer::sendPitch() { send(XA::OutputProperty, kPitchProperty, pitchSlider_->value()); }

// ---- output and visualisation

void CViewPlayer::selectOutput(Output output) {
    output_ = output;
    if (output != File)
        send(XA::OutputOpen, TextFormat::format(output == DirectSound ? "/dev/dsound/%d" : "/dev/wave/%d", device_));
    masterSlider_->setEnabled(output != DirectSound);
    pitchSlider_->setEnabled(output == DirectSound);
    // The pitch goes back to normal with every change of output, in the component as on the slider.
    {
        const QSignalBlocker quiet(pitchSlider_);
        pitchSlider_->setValue(kNormalPitch);
    }
    send(XA::OutputProperty, kPitchProperty, kNormalPitch);
    outputFolderEdit_->setReadOnly(output != File);
    outputFolderEdit_->setBrowseEnabled(output == File);
    deviceBox_->setEnabled(output != File && deviceBox_->count() >= 2);
    outputButtons_[output]->setChecked(true);
}

void CViewPlayer::selectVisualisation(Visualisation mode) {
    send(XA::FeedbackHandler, kHandlerNames[mode]);
    visualisation_ = mode;
    visualisationButtons_[mode]->setChecked(true);
}

// ---- equalizer

bool CViewPlayer::equalizerEnabled() const { return equalizer_->isOn(); }

EqualizerTable::Positions CViewPlayer::equalizerPositions() const { return equalizer_->positions(); }

// ---- context menu and help

void CViewPlayer::contextMenuEvent(QContextMenuEvent* event) {
    QWidget* under = childAt(event->pos());
    if (under && tree_->isAncestorOf(under)) return;  // the tree opens its own menu
    const bool overPlaylist = under && (under == playlistBox_ || playlistBox_->isAncestorOf(under));
    const MenuItem* popup = MenuTable::popup(IDR_POPUPS, overPlaylist ? "PlayList" : "ListPlayer");
    if (!popup) return;
    CommandTarget& target = overPlaylist ? static_cast<CommandTarget&>(*this) : static_cast<CommandTarget&>(*list_);
    QMenu* menu = MenuBuilder::contextPopup(*popup, target, this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void CViewPlayer::showHelp() {
    host_.showProgramHelp(QStringLiteral("player.htm"));
}

// ---- the desktop's media controls

void CViewPlayer::mediaChanged() {
    if (mpris_) mpris_->refresh();
}

// The tree also shows files that were only clicked: only the playing entry's facts are taken.
void CViewPlayer::takeAnalysedFacts(int result) {
    if (result != 0 || !nowPlaying_ || tree_->filePath() != nowPlayingLocation_) return;
    const QString title = tree_->valueText(CXAnalyzerTree::Title);
    if (!title.isEmpty()) nowPlaying_->title = title;
    nowPlaying_->artist = tree_->valueText(CXAnalyzerTree::Artist);
    nowPlaying_->album = tree_->valueText(CXAnalyzerTree::Album);
    nowPlaying_->lengthMicroseconds = std::int64_t{tree_->durationMilliseconds()} * 1000;
    mediaChanged();
}

MediaControlTarget::Status CViewPlayer::playbackStatus() const {
    switch (lastState()) {
    case XA::Playing: return Status::Playing;
    case XA::Paused: return Status::Paused;
    default: return Status::Stopped;
    }
}

std::int64_t CViewPlayer::positionMicroseconds() const {
    if (!nowPlaying_) return 0;
    return nowPlaying_->lengthMicroseconds * positionSlider_->value() / XA::PositionRange;
}

double CViewPlayer::volume() const { return masterSlider_->value() / 100.0; }

bool CViewPlayer::canSeek() const {
    return nowPlaying_ && nowPlaying_->lengthMicroseconds > 0 && positionSlider_->isEnabled();
}

void CViewPlayer::mediaNext() {
    // The sequencer takes the next entry once the player stopped (at once when it is stopped).
    const int state = lastState();
    sequencer().entriesQueued(state);
    if (state == XA::Playing || state == XA::Paused) send(XA::Stop);
}

void CViewPlayer::mediaSeekTo(std::int64_t microseconds) {
    if (!canSeek()) return;
    // In milliseconds of the length rather than steps of the slider, so that a key's few seconds count.
    const std::int64_t length = nowPlaying_->lengthMicroseconds / 1000;
    const std::int64_t offset = std::clamp<std::int64_t>(microseconds / 1000, 0, length);
    send(XA::Seek, static_cast<int>(offset), static_cast<int>(length));
}

void CViewPlayer::setVolume(double volume) {
    // The master level does nothing for the direct sound output: its slider is off then.
    if (masterSlider_->isEnabled()) masterSlider_->setValue(static_cast<int>(std::lround(std::clamp(volume, 0.0, 1.0) * 100)));
}

void CViewPlayer::raiseWindow() {
    QWidget* top = window();
    top->show();
    top->raise();
    top->activateWindow();
}
