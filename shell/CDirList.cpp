#include "shell/CDirList.h"

#include "framework/ControlId.h"
#include "framework/DialogRunner.h"
#include "framework/MenuBuilder.h"
#include "framework/QtText.h"
#include "resources/ResourceIds.h"
#include "shell/CFtpParameterDialog.h"
#include "shell/FileCommands.h"
#include "shell/FolderListing.h"
#include "shell/ListPlayerTarget.h"

#include <QApplication>
#include <QDateTime>
#include <QLocale>
#include <QFontMetrics>
#include <QFile>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QHeaderView>
#include <QMenu>
#include <QKeyEvent>
#include <QMimeDatabase>
#include <QMouseEvent>

#include <algorithm>

namespace {

// The wait cursor while a folder is read.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

constexpr int kPathRole = Qt::UserRole;

// A last write as the user's locale writes a short date and time.
QString shownDate(std::time_t modified) {
    return QLocale().toString(QDateTime::fromSecsSinceEpoch(static_cast<qint64>(modified)), QLocale::ShortFormat);
}

// Two-digit day, month and hours: as wide as the column's dates get.
const std::time_t kWidestDate = QDateTime(QDate(2000, 12, 28), QTime(23, 58)).toSecsSinceEpoch();

}  // namespace

CDirList::CDirList(QFileIconProvider* icons, QWidget* parent) : QTreeWidget(parent), icons_(icons) {
    ControlId::set(this, 1001);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSortingEnabled(false);
    setAllColumnsShowFocus(true);
    setAccessibleName(QStringLiteral("Files"));
    header()->setSectionsClickable(true);
    header()->setSortIndicatorShown(false);
    connect(header(), &QHeaderView::sectionClicked, this, &CDirList::sortByColumn);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, &CDirList::showContextMenu);

    addCommand(ID_LIST_REFRESH, [this] { RefreshList(); });
    addCommand(ID_LIST_DELETE, [this] { DoFileCommand(Delete); });
    addCommand(ID_LIST_RENAME, [this] { DoFileCommand(Rename); });
    const auto needsPlayer = [this](CommandState& state) { state.enabled = player() != nullptr; };
    addCommand(ID_LIST_ADD_PLAYLIST, [this] {
        if (ListPlayerTarget* target = player()) target->addToPlaylist(selectedPaths());
    }, needsPlayer);
    addCommand(ID_LIST_PLAY, [this] {
        ListPlayerTarget* target = player();
        if (!target) return;
        target->addToPlaylist(selectedPaths());
        clearSelection();
        target->playFromList();
    }, needsPlayer);
}

CDirList::~CDirList() { ClearList(); }

void CDirList::InitColumns(const QString& filter, bool details) {
    filter_ = filter.toLower();
    details_ = details;
    setColumnCount(details_ ? 3 : 1);
    updateTitle();
    QTreeWidgetItem* titles = headerItem();
    if (details_) {
        titles->setText(SizeColumn, QStringLiteral("Size"));
        titles->setText(ModifiedColumn, QStringLiteral("Modified"));
        titles->setTextAlignment(SizeColumn, Qt::AlignRight | Qt::AlignVCenter);
        titles->setTextAlignment(ModifiedColumn, Qt::AlignCenter);
        // The name takes what the two fixed columns leave.
        header()->setStretchLastSection(false);
        header()->setSectionResizeMode(NameColumn, QHeaderView::Stretch);
        // At least the template's 70 and 100 pixels, and room for 13 digits and a full date.
        const QFontMetrics metrics = fontMetrics();
        header()->resizeSection(SizeColumn, std::max(70, metrics.horizontalAdvance(QStringLiteral("0000000000000")) + 12));
        header()->resizeSection(ModifiedColumn, std::max(100, metrics.horizontalAdvance(shownDate(kWidestDate)) + 16));
    } else {
        header()->setStretchLastSection(true);
    }
}

void CDirList::SetFilter(const QString& text) {
    filter_ = text.toLower();
    updateTitle();
}

void CDirList::updateTitle() {
    headerItem()->setText(NameColumn, fromStd(FolderListing::nameTitle(toStd(filter_))));
}

bool CDirList::ShowFolder(const QString& folder) {
    folder_ = folder;
    folderShown_ = true;
    ClearList();
    WaitCursor wait;
    auto rows = FolderListing::list(toStd(folder), toStd(filter_));
    if (!rows) {
        emit listed();
        return false;
    }
    rows_ = std::move(*rows);
    QMimeDatabase types;
    for (LVFILEDATA& row : rows_)
        row.typeName = toStd(types.mimeTypeForFile(fromStd(row.path), QMimeDatabase::MatchExtension).comment());
    showRows();
    emit listed();
    return true;
}

void CDirList::RefreshList() {
    if (folderShown_) ShowFolder(folder_);
}

void CDirList::ClearList() {
    clear();
    rows_.clear();
}

void CDirList::showRows() {
    clear();
    for (std::size_t i = 0; i < rows_.size(); ++i) addRow(i);
}

void CDirList::addRow(std::size_t index) {
    const LVFILEDATA& row = rows_[index];
    auto* item = new QTreeWidgetItem(this);
    item->setText(NameColumn, fromStd(row.name));
    item->setData(NameColumn, kPathRole, fromStd(row.path));
    if (icons_) item->setIcon(NameColumn, icons_->icon(QFileInfo(fromStd(row.path))));
    if (!row.typeName.empty()) item->setToolTip(NameColumn, fromStd(row.typeName));
    if (!details_) return;
    item->setText(SizeColumn, fromStd(row.sizeText));
    item->setTextAlignment(SizeColumn, Qt::AlignRight | Qt::AlignVCenter);
    item->setText(ModifiedColumn, shownDate(row.modified));
    item->setTextAlignment(ModifiedColumn, Qt::AlignCenter);
}

void CDirList::sortByColumn(int column) {
    sortReversed_ = !sortReversed_;
    const auto key = column == SizeColumn       ? FolderListing::Column::Size
                     : column == ModifiedColumn ? FolderListing::Column::Modified
                                                : FolderListing::Column::Name;
    FolderListing::sort(rows_, key, sortReversed_);
    showRows();
}

QStringList CDirList::rowPaths() const {
    QStringList paths;
    for (int i = 0; i < topLevelItemCount(); ++i) paths.append(topLevelItem(i)->data(NameColumn, kPathRole).toString());
    return paths;
}

QStringList CDirList::selectedPaths() const {
    QStringList paths;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = topLevelItem(i);
        const QString path = item->data(NameColumn, kPathRole).toString();
        if (item->isSelected() && !path.isEmpty()) paths.append(path);
    }
    return paths;
}

QString CDirList::GetClickedFile() {
    const QTreeWidgetItem* item = pressPosition_.x() < 0 ? nullptr : itemAt(pressPosition_);
    clickedPath_ = item ? item->data(NameColumn, kPathRole).toString() : QString();
    return clickedPath_;
}

void CDirList::mousePressEvent(QMouseEvent* event) {
    pressPosition_ = event->position().toPoint();
    QTreeWidget::mousePressEvent(event);
    if (event->button() == Qt::LeftButton) emit fileClicked();
}

void CDirList::mouseDoubleClickEvent(QMouseEvent* event) {
    pressPosition_ = event->position().toPoint();
    QTreeWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton) emit fileDoubleClicked();
}

void CDirList::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (enter && plain) {
        event->accept();
        QTreeWidgetItem* item = currentItem();
        // No row, no action: Enter must not act on a file picked before.
        if (!item) return;
        if (item->data(NameColumn, kPathRole).toString() == clickedPath_)
            aimAtCurrentRow();  // already picked: the fields typed since then stay
        else
            pickCurrentRow();
        emit enterPressed();
        return;
    }
    QTreeWidget::keyPressEvent(event);
    if (event->key() == Qt::Key_Space && plain) pickCurrentRow();
}

bool CDirList::aimAtCurrentRow() {
    QTreeWidgetItem* item = currentItem();
    if (!item) return false;
    if (!item->isSelected()) {
        clearSelection();
        item->setSelected(true);
    }
    scrollToItem(item);
    // Where a click on the row would have pressed, for GetClickedFile.
    pressPosition_ = visualItemRect(item).center();
    return true;
}

void CDirList::pickCurrentRow() {
    if (aimAtCurrentRow()) emit fileClicked();
}

void CDirList::addFormCommands(CommandTarget& form, const CommandTarget::Update& whenFilePicked) {
    form.addCommand(ID_LIST_RENAME, [this] { DoFileCommand(Rename); }, whenFilePicked);
    form.addCommand(ID_LIST_REFRESH, [this] { RefreshList(); });
    form.addCommand(ID_LIST_DELETE, [this] { DoFileCommand(Delete); }, whenFilePicked);
}

void CDirList::DoFileCommand(int mode) {
    if (mode != Delete && mode != Rename) return;
    bool changed = false;
    // Folders are never listed, so every selected row is a file.
    for (const QString& path : selectedPaths()) {
        if (mode == Delete)
            changed = FileCommands::remove(QFile::encodeName(path).toStdString()) || changed;
        else
            changed = renameFile(path) || changed;
    }
    if (changed) RefreshList();
}

bool CDirList::renameFile(const QString& path) {
    const QString oldName = path.section(QLatin1Char('/'), -1);
    CFtpParameterDialog dialog(this);
    dialog.caption = QStringLiteral("Rename");
    dialog.prompt = QStringLiteral("Rename\r\n%1\r\nto").arg(path);
    dialog.value = oldName;
    if (DialogRunner::run(dialog) != QDialog::Accepted || dialog.value == oldName) return false;
    return FileCommands::renameWithinFolder(QFile::encodeName(path).toStdString(),
                                            QFile::encodeName(dialog.value).toStdString());
}

ListPlayerTarget* CDirList::player() const {
    for (QWidget* window = parentWidget(); window; window = window->parentWidget())
        if (auto* target = dynamic_cast<ListPlayerTarget*>(window)) return target;
    return nullptr;
}

void CDirList::showContextMenu(const QPoint& position) {
    const MenuItem* popup = MenuTable::popup(IDR_POPUPS, player() ? "ListPlayer" : "List");
    if (!popup) return;
    QMenu* menu = MenuBuilder::contextPopup(*popup, *this, this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(viewport()->mapToGlobal(position));
}
