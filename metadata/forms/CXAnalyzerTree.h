#pragma once

#include "base/MessageBoxSink.h"
#include "framework/CommandTarget.h"
#include "metadata/CID3TagFile.h"

#include <QString>
#include <QTreeWidget>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>

class AnalysisWorker;
class StatusSink;
struct AnalysisResult;

// The Player's view of one audio file: its name, "Track Info" with the tag texts and "MPEG Info"
// with the stream's properties. Tag texts are edited in place or in the ID3 Tag dialog and written
// back as ID3 tags. The stream analysis runs on a worker thread; the tree, the tag record and
// every dialog live on the GUI thread.
class CXAnalyzerTree : public QTreeWidget {
    Q_OBJECT
public:
    // The editable tag texts; each value item of the tree carries the number of its text.
    enum ValueField { Title, Artist, Album, Year, Comment, Genre, Track, FieldCount };

    explicit CXAnalyzerTree(QWidget* parent = nullptr);
    ~CXAnalyzerTree() override;

    // Shows a file: the analysis runs off the GUI thread and the tree is filled (FillTree) on the
    // GUI thread when it ends, so a file of hundreds of megabytes never blocks input. A newer call
    // supersedes a running one (its result is dropped). Returns at once.
    void AnalyseFile(const QString& path);
    // Where the tree writes its status texts ("ID3v1 Tag updated", ...): the Player's pane 0.
    void setStatusSink(StatusSink* sink);
    bool isModified() const;
    QString filePath() const;

    // What a write would put into the file.
    QString valueText(ValueField field) const { return values_[field]; }
    int genreNumber() const { return genreNumber_; }
    int tagChoice() const { return tagChoice_; }
    // The shown file's playing time as the analyser measured it.
    std::uint32_t durationMilliseconds() const { return durationMs_; }

public slots:
    void Expand();
    void Collapse();
    void ExpandAll();
    void EditTags();
    void WriteTags();

signals:
    // After every analysis that ended: result 0 means the tree shows the file.
    void analysed(int result);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // Tag writing errors interrupt the user with a stop box.
    class TagMessages : public MessageBoxSink {
    public:
        explicit TagMessages(QWidget* owner) : owner_(owner) {}
        void showStopBox(const std::string& text) override;

    private:
        QWidget* owner_;
    };

    void addCommands();
    void receive(std::uint64_t generation, const AnalysisResult& result);
    void applyDeferred();
    void FillTree(const QString& path, const AnalysisResult& result);
    void readTags(const QString& path);
    QTreeWidgetItem* addRoot(const QString& text);
    void addValue(QTreeWidgetItem* branch, const char* label, ValueField field);
    void expandBelow(QTreeWidgetItem* item);
    void beginEdit(QTreeWidgetItem* item);
    void endEdit(QTreeWidgetItem* item, const QString& text);
    void setValue(ValueField field, const QString& text);
    void report(const char* text);

    TagMessages messages_;
    CID3TagFile tags_;
    CommandTarget commands_;
    std::unique_ptr<AnalysisWorker> worker_;
    StatusSink* status_ = nullptr;

    bool modified_ = false;
    QString path_;
    std::array<QString, FieldCount> values_;
    int genreNumber_ = 0;
    int tagChoice_ = -1;
    std::uint32_t durationMs_ = 0;

    // The analysis asked for last; older results are dropped.
    std::uint64_t generation_ = 0;
    QString requestedPath_;
    bool outstanding_ = false;
    // A result that arrived while one of the tree's dialogs was open waits for it to close.
    int dialogsOpen_ = 0;
    std::unique_ptr<AnalysisResult> deferred_;
    std::uint64_t deferredGeneration_ = 0;
};
