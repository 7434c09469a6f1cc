#include "metadata/forms/CXAnalyzerTree.h"

#include "base/StatusSink.h"
#include "framework/ControlId.h"
#include "framework/DialogRunner.h"
#include "framework/MenuBuilder.h"
#include "framework/QtText.h"
#include "metadata/AnalyzerLines.h"
#include "metadata/GenreTable.h"
#include "metadata/forms/AnalysisWorker.h"
#include "metadata/forms/CGenre.h"
#include "metadata/forms/CID3Tag.h"
#include "metadata/forms/LabelEditDelegate.h"
#include "resources/MenuTable.h"
#include "resources/ResourceIds.h"
#include "resources/StringTable.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QTimer>

namespace {

// The item data role that carries a value item's ValueField.
constexpr int FieldRole = Qt::UserRole;

QString textOrEmpty(const std::optional<std::string>& text) { return text ? fromStd(*text) : QString(); }

// Counts a dialog of the tree as open while it lives, so that an analysis result waits for it.
class DialogScope {
public:
    explicit DialogScope(int& open) : open_(open) { ++open_; }
    ~DialogScope() { --open_; }
    DialogScope(const DialogScope&) = delete;
    DialogScope& operator=(const DialogScope&) = delete;

private:
    int& open_;
};

} // namespace

void CXAnalyzerTree::TagMessages::showStopBox(const std::string& text) {
    DialogRunner::critical(owner_, fromStd(StringTable::text(IDS_FRAME_TITLE)), fromStd(text));
}

CXAnalyzerTree::CXAnalyzerTree(QWidget* parent) : QTreeWidget(parent), messages_(this), tags_(messages_) {
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(true);
    setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    setItemDelegate(new LabelEditDelegate([this](const QModelIndex& index) { beginEdit(itemFromIndex(index)); },
                                          [this](const QModelIndex& index, const QString& text) {
                                              endEdit(itemFromIndex(index), text);
                                          },
                                          this));
    addCommands();
    // The worker calls back on its own thread; the result is handed to the GUI thread, and
    // the worker is stopped before this object goes, so no call reaches a destroyed tree.
    worker_ = std::make_unique<AnalysisWorker>([this](std::uint64_t generation, AnalysisResult result) {
        QMetaObject::invokeMethod(
            this, [this, generation, result = std::move(result)] { receive(generation, result); }, Qt::QueuedConnection);
    });
}

CXAnalyzerTree::~CXAnalyzerTree() {
    worker_.reset();
    tags_.Release();
}

void CXAnalyzerTree::addCommands() {
    commands_.addCommand(ID_INFO_EXPAND, [this] { Expand(); });
    commands_.addCommand(ID_INFO_COLLAPSE, [this] { Collapse(); });
    commands_.addCommand(ID_INFO_EXPAND_ALL, [this] { ExpandAll(); });
    commands_.addCommand(ID_INFO_EDIT_ID3, [this] { EditTags(); });
    commands_.addCommand(ID_INFO_WRITE_ID3, [this] { WriteTags(); },
                         [this](CommandState& state) { state.enabled = modified_; });
}

void CXAnalyzerTree::AnalyseFile(const QString& path) {
    requestedPath_ = path;
    outstanding_ = true;
    deferred_.reset();
    worker_->request(++generation_, toStd(path));
}

void CXAnalyzerTree::setStatusSink(StatusSink* sink) { status_ = sink; }
bool CXAnalyzerTree::isModified() const { return modified_; }
QString CXAnalyzerTree::filePath() const { return path_; }

void CXAnalyzerTree::receive(std::uint64_t generation, const AnalysisResult& result) {
    if (generation != generation_) return;
    if (dialogsOpen_ > 0) {
        // The open dialog belongs to the file shown; the tree changes once it has closed.
        deferred_ = std::make_unique<AnalysisResult>(result);
        deferredGeneration_ = generation;
        return;
    }
    outstanding_ = false;
    if (result.result == 0) FillTree(requestedPath_, result);
    emit analysed(result.result);
}

// Posted, because a dialog may close inside the view's own edit handling.
void CXAnalyzerTree::applyDeferred() {
    if (!deferred_ || dialogsOpen_ > 0) return;
    QTimer::singleShot(0, this, [this] {
        if (!deferred_ || dialogsOpen_ > 0) return;
        const std::unique_ptr<AnalysisResult> result = std::move(deferred_);
        receive(deferredGeneration_, *result);
    });
}

void CXAnalyzerTree::readTags(const QString& path) {
    tags_.ReadTags(toStd(path));
    switch (tags_.Presence()) {
    case TagPresence::V1Only: tagChoice_ = 0; break;
    case TagPresence::V2Only: tagChoice_ = 1; break;
    case TagPresence::Both: tagChoice_ = 2; break;
    case TagPresence::None: tagChoice_ = -1; break;
    }
}

void CXAnalyzerTree::FillTree(const QString& path, const AnalysisResult& result) {
    path_ = path;
    durationMs_ = result.info.duration;
    clear();
    readTags(path);
    // Emptied before the check, so that no text of the file shown before stays behind.
    values_.fill(QString());
    if (!tags_.IsEditable()) return;

    addRoot(path.section(QLatin1Char('/'), -1));
    values_[Title] = textOrEmpty(result.title);
    values_[Artist] = textOrEmpty(result.artist);
    values_[Album] = textOrEmpty(result.album);
    values_[Year] = textOrEmpty(result.year);
    values_[Comment] = textOrEmpty(result.comment);
    genreNumber_ = result.info.genre;
    // A genre of its own (no number names it) shows, and is written back, as its ID3v2 name.
    const std::string_view genre = GenreTable::shownName(genreNumber_, tags_.GenreText());
    values_[Genre] = QString::fromUtf8(genre.data(), static_cast<qsizetype>(genre.size()));
    values_[Track] = fromStd(tags_.Track());

    QTreeWidgetItem* trackInfo = addRoot(QStringLiteral("Track Info"));
    addValue(trackInfo, "Title", Title);
    addValue(trackInfo, "Artist", Artist);
    addValue(trackInfo, "Album", Album);
    addValue(trackInfo, "Year", Year);
    addValue(trackInfo, "Comment", Comment);
    addValue(trackInfo, "Genre", Genre);
    addValue(trackInfo, "Track", Track);

    QTreeWidgetItem* mpegInfo = addRoot(QStringLiteral("MPEG Info"));
    for (const std::string& line : AnalyzerLines::mpegInfo(result.info)) {
        auto* item = new QTreeWidgetItem(mpegInfo, {fromStd(line)});
        item->setFlags(item->flags() | Qt::ItemIsEditable);
    }
}

QTreeWidgetItem* CXAnalyzerTree::addRoot(const QString& text) {
    auto* item = new QTreeWidgetItem(this, {text});
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    return item;
}

void CXAnalyzerTree::addValue(QTreeWidgetItem* branch, const char* label, ValueField field) {
    auto* labelItem = new QTreeWidgetItem(branch, {QString::fromLatin1(label)});
    labelItem->setFlags(labelItem->flags() | Qt::ItemIsEditable);
    auto* value = new QTreeWidgetItem(labelItem, {values_[field]});
    value->setData(0, FieldRole, static_cast<int>(field));
    value->setFlags(value->flags() | Qt::ItemIsEditable);
    // A label shows its value whenever its branch is open: one level to open, not two.
    labelItem->setExpanded(true);
}

// Every item may be edited in place; what is taken is decided when the edit ends. The Genre
// value first offers the genre list, and the chosen name goes into the edit box.
void CXAnalyzerTree::beginEdit(QTreeWidgetItem* item) {
    if (!item) return;
    const QVariant field = item->data(0, FieldRole);
    if (!field.isValid() || field.toInt() != Genre) return;
    CGenre dialog(this);
    dialog.genreName = item->text(0);
    {
        DialogScope open(dialogsOpen_);
        if (DialogRunner::run(dialog) == QDialog::Accepted) {
            genreNumber_ = dialog.genreIndex;
            item->setText(0, dialog.genreName);
        }
    }
    applyDeferred();
}

void CXAnalyzerTree::endEdit(QTreeWidgetItem* item, const QString& text) {
    if (!item) return;
    const QVariant field = item->data(0, FieldRole);
    // Labels, the file name and the stream lines are not tag texts: their text stays.
    if (!field.isValid()) return;
    const auto which = static_cast<ValueField>(field.toInt());
    if (text == values_[which]) return;
    item->setText(0, text);
    modified_ = true;
    setValue(which, text);
}

void CXAnalyzerTree::setValue(ValueField field, const QString& text) { values_[field] = text; }

void CXAnalyzerTree::report(const char* text) {
    if (status_) status_->setStatus(text);
}

void CXAnalyzerTree::Expand() {
    if (QTreeWidgetItem* item = currentItem()) item->setExpanded(true);
}

void CXAnalyzerTree::Collapse() {
    if (QTreeWidgetItem* item = currentItem()) item->setExpanded(false);
}

// Opens everything below the selected item's parent (or below the selected root item), down to
// the values. The file-name item has nothing below it: there the whole tree opens.
void CXAnalyzerTree::ExpandAll() {
    QTreeWidgetItem* item = currentItem();
    if (!item) return;
    if (QTreeWidgetItem* parent = item->parent()) {
        for (int child = 0; child < parent->childCount(); ++child) expandBelow(parent->child(child));
    } else if (item->childCount() > 0) {
        expandBelow(item);
    } else {
        expandAll();
    }
}

void CXAnalyzerTree::expandBelow(QTreeWidgetItem* item) {
    item->setExpanded(true);
    for (int child = 0; child < item->childCount(); ++child) expandBelow(item->child(child));
}

void CXAnalyzerTree::EditTags() {
    CID3Tag dialog(this);
    dialog.title = values_[Title];
    dialog.album = values_[Album];
    dialog.artist = values_[Artist];
    dialog.comment = values_[Comment];
    dialog.genreName = values_[Genre];
    dialog.track = values_[Track];
    dialog.year = values_[Year];
    dialog.tagChoice = tagChoice_;
    bool accepted = false;
    {
        DialogScope open(dialogsOpen_);
        accepted = DialogRunner::run(dialog) == QDialog::Accepted;
    }
    if (accepted) {
        setValue(Title, dialog.title);
        setValue(Album, dialog.album);
        setValue(Artist, dialog.artist);
        setValue(Comment, dialog.comment);
        setValue(Genre, dialog.genreName);
        genreNumber_ = dialog.genreIndex;
        setValue(Track, dialog.track);
        setValue(Year, dialog.year);
        tagChoice_ = dialog.tagChoice;
        WriteTags();
    }
    applyDeferred();
}

void CXAnalyzerTree::WriteTags() {
    // No tag goes into a file that was not analysed or is a RIFF or Ogg file.
    if (!tags_.IsEditable()) {
        report("Error: No Tag updated");
        return;
    }
    tags_.SetArtist(toStd(values_[Artist]));
    tags_.SetTitle(toStd(values_[Title]));
    tags_.SetAlbum(toStd(values_[Album]));
    tags_.SetYear(toStd(values_[Year]));
    tags_.SetComment(toStd(values_[Comment]));
    tags_.SetGenreText(toStd(values_[Genre]));
    tags_.SetGenreNumber(genreNumber_);
    tags_.SetTrack(toStd(values_[Track]));

    QApplication::setOverrideCursor(Qt::WaitCursor);
    const TagsWritten written = tags_.WriteTags();
    QApplication::restoreOverrideCursor();
    report(written.statusText());
    if (path_.isEmpty()) return;
    // The tag record follows the rewritten file at once, so that a second write before the
    // analysis below has ended still works on the file as it is now.
    readTags(path_);
    // A newer request for another file is left to show that file.
    if (!outstanding_ || requestedPath_ == path_) AnalyseFile(path_);
}

void CXAnalyzerTree::contextMenuEvent(QContextMenuEvent* event) {
    const MenuItem* popup = MenuTable::popup(IDR_POPUPS, "Info");
    if (!popup) return;
    QMenu* menu = MenuBuilder::contextPopup(*popup, commands_, this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
    event->accept();
}
