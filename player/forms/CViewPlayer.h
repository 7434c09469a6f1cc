#pragma once

#include "base/MessageBoxSink.h"
#include "base/StatusSink.h"
#include "framework/ModuleForm.h"
#include "platform/xaudio/XA_Command.h"
#include "player/PlayerForm.h"
#include "player/PlaylistQueue.h"
#include "player/forms/MediaControlTarget.h"
#include "player/forms/SequencerTimer.h"
#include "shell/FolderHandlingForm.h"
#include "shell/ListPlayerTarget.h"
#include "shell/PlayerCloseControl.h"

#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class BrowseEdit;
class CDirList;
class ChildFrame;
class CXAnalyzerTree;
class Document;
class EqualizerPane;
class FormHost;
class LevelMeter;
class MprisService;
class QComboBox;
class QListWidget;
class QRadioButton;
class QSlider;
class SamplePlayer;
class StatusBar;
class VisualisationWindow;

// The Player module's form (template 205): the file list of the current folder, the analyser
// tree of the clicked file, the playlist, transport, levels, pitch, output choice, equalizer and
// visualisation. Playback runs in the component; the playback sequencer takes the playlist's
// entries one after the other, and the form plays them for it. Settings live in sections
// "Settings" (RestOutDir) and "Equalizer" (FileOutDir, Device; the equalizer pane keeps its preset).
class CViewPlayer : public QWidget,
                    public ModuleForm,
                    public FolderHandlingForm,
                    public PlayerForm,
                    public PlayerCloseControl,
                    public ListPlayerTarget,
                    public MessageBoxSink,
                    public MediaControlTarget {
    Q_OBJECT
public:
    enum Output { DirectSound, Soundcard, File };
    enum Visualisation { Spectrum, Oscilloscope, VU };
    // The steps of the playback sequencer.
    using enum PlaybackSequencer::Step;

    CViewPlayer(FormHost& host, ChildFrame& frame);
    ~CViewPlayer() override;

    static QWidget* create(FormHost& host, Document& document, ChildFrame& frame);

    // ModuleForm
    void initialUpdate(ChildFrame& frame) override;
    // FolderHandlingForm
    QString currentFolder() const override;
    void setCurrentFolder(const QString& folder) override;
    bool ReceiveFolder(const QString& folder) override;

    // PlayerForm: what the player wrapper shows on the form.
    FeedbackSurfaceSink* visualisationWindow() override;
    int visualisationWidth() override;
    int visualisationHeight() override;
    LevelMeterSink* leftLevelMeter() override;
    LevelMeterSink* rightLevelMeter() override;
    void setPaneText(int pane, const std::string& text) override;
    const std::string& currentTitle() override { return currentTitle_; }
    void setDocumentTitle(const std::string& title) override;
    void stoppedRoutine() override;
    void enablePositionSlider(bool enabled) override;
    void setPositionSlider(int offset) override;
    void setBalanceSlider(int value) override;
    void setPcmSlider(int value) override;
    void setMasterSlider(int value) override;
    void setEqualizerEnabled(bool enabled) override;
    void setEqualizerSliders(const EqualizerTable::Positions& positions) override;
    bool writesToFile() override { return output_ == File; }

    // PlayerCloseControl
    bool isStopped() const override;
    void closeWhenStopped() override;

    // ListPlayerTarget
    void addToPlaylist(const QStringList& paths) override;
    void playFromList() override;

    // MessageBoxSink: the component's version check.
    void showStopBox(const std::string& text) override;

    // MediaControlTarget: the desktop's media controls (MPRIS).
    Status playbackStatus() const override;
    bool hasTrack() const override { return nowPlaying_.has_value(); }
    Track track() const override { return nowPlaying_.value_or(Track{}); }
    std::int64_t positionMicroseconds() const override;
    double volume() const override;
    bool canGoNext() const override { return !queue_.empty(); }
    bool canSeek() const override;
    void mediaPlay() override { Play(); }
    void mediaPause() override { Pause(); }
    void mediaStop() override { Stop(); }
    void mediaNext() override;
    void mediaSeekTo(std::int64_t microseconds) override;
    void setVolume(double volume) override;
    void raiseWindow() override;

    // The transport commands and routines.
    void Play();
    void Pause();
    void Stop();
    void stopRoutine();
    // Add location with the start flag: a playlist file starts playing when the flag is set.
    void addLocation(const QString& text, bool start);
    void loadPlaylist(const QString& path, bool start);
    void refreshPlaylistBox();

    void selectOutput(Output output);
    void selectVisualisation(Visualisation mode);

    // What tests and the frames read.
    SamplePlayer* player() const { return player_.get(); }
    int lastState() const;
    int sequencerStep() const { return sequencer_.sequencer().step(); }
    bool sequencerArmed() const { return sequencer_.isArmed(); }
    const PlaylistQueue& queue() const { return queue_; }
    Output output() const { return output_; }
    Visualisation visualisation() const { return visualisation_; }
    bool equalizerEnabled() const;
    EqualizerTable::Positions equalizerPositions() const;
    EqualizerPane* equalizerPane() const { return equalizer_; }
    QString selectedPath() const { return selectedPath_; }
    QString fileOutputFolder() const;
    int device() const { return device_; }
    StatusBar* statusBar() const { return statusBar_; }
    CDirList* fileList() const { return list_; }
    CXAnalyzerTree* analyzerTree() const { return tree_; }
    VisualisationWindow* visualisationWidget() const { return visualisationWindow_; }
    LevelMeter* leftMeter() const { return leftMeter_; }
    LevelMeter* rightMeter() const { return rightMeter_; }
    // Every command the form sends to the component passes here first (tests record them).
    void setCommandObserver(std::function<void(const XA_Command&)> observer) { observer_ = std::move(observer); }

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void createControls();
    QWidget* createPlaylistPane();
    QWidget* createSoundPane();
    QWidget* createOutputPane();
    void createEqualizerPane();
    void createBars(ChildFrame& frame);
    void addCommands();
    void addPlaylistCommands();
    void connectControls();
    void readSettings();
    void fillDeviceList();
    void createPlayer();

    template <typename... Arguments> void send(int code, Arguments&&... arguments) {
        sendCommand(XA_Command{code, {XA_Argument(std::forward<Arguments>(arguments))...}});
    }
    void sendCommand(XA_Command command);

    void onFileClicked();
    void onFileDoubleClicked();
    void takeClickedFile();
    PlaybackSequencer& sequencer() { return sequencer_.sequencer(); }
    PlaybackSequencer::Hands sequencerHands();
    bool playEntry(const CTwoStrings& entry);
    bool openOutputFor(const CTwoStrings& entry);
    void deviceRoutine();
    std::optional<std::string> selectedPlaylistEntry() const;

    void beginSeek();
    void endSeek();
    void sendLevels(QSlider* moved);
    void sendPitch();

    void startSelectedEntry();
    void stopPlaylist();
    void deleteSelectedEntry();
    void addUrl();
    void savePlaylist();
    void showHelp();

    void takeAnalysedFacts(int result);
    // What the media controls show may have changed.
    void mediaChanged();

    FormHost& host_;
    ChildFrame* frame_;
    std::unique_ptr<SamplePlayer> player_;
    PlaylistQueue queue_;
    SequencerTimer sequencer_{queue_, sequencerHands()};
    std::function<void(const XA_Command&)> observer_;
    // The entry that plays now, with the analyser's facts once they came, for the media controls.
    std::optional<Track> nowPlaying_;
    QString nowPlayingLocation_;
    std::uint64_t entriesPlayed_ = 0;
    std::unique_ptr<MprisService> mpris_;

    QString currentFolder_;
    QString selectedPath_;
    std::string currentTitle_;
    QString fileOutDir_;
    int device_ = 0;
    Output output_ = Soundcard;
    Visualisation visualisation_ = Spectrum;

    // The status bar's pane 0 as the analyser tree's status sink.
    class PaneZero : public StatusSink {
    public:
        explicit PaneZero(CViewPlayer& form) : form_(form) {}
        void setStatus(const std::string& text) override { form_.setPaneText(0, text); }

    private:
        CViewPlayer& form_;
    };
    PaneZero paneZero_{*this};

    CDirList* list_ = nullptr;
    CXAnalyzerTree* tree_ = nullptr;
    QListWidget* playlistBox_ = nullptr;
    QSlider* positionSlider_ = nullptr;
    QSlider* masterSlider_ = nullptr;
    QSlider* pcmSlider_ = nullptr;
    QSlider* balanceSlider_ = nullptr;
    QSlider* pitchSlider_ = nullptr;
    VisualisationWindow* visualisationWindow_ = nullptr;
    LevelMeter* leftMeter_ = nullptr;
    LevelMeter* rightMeter_ = nullptr;
    std::array<QRadioButton*, 3> visualisationButtons_{};
    std::array<QRadioButton*, 3> outputButtons_{};
    QComboBox* deviceBox_ = nullptr;
    BrowseEdit* outputFolderEdit_ = nullptr;
    EqualizerPane* equalizer_ = nullptr;
    StatusBar* statusBar_ = nullptr;
};
