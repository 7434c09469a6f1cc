#include "shell/CDirTree.h"

#include "framework/ControlId.h"
#include "framework/DialogRunner.h"
#include "framework/MenuBuilder.h"
#include "framework/QtText.h"
#include "resources/MenuTable.h"
#include "resources/ResourceIds.h"
#include "resources/StringTable.h"
#include "shell/CFtpParameterDialog.h"
#include "shell/FolderHandlingForm.h"

#include <QApplication>
#include <QDir>
#include <QFileIconProvider>
#include <QMenu>
#include <QTreeWidget>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kKindRole = Qt::UserRole + 1;
constexpr int kFilledRole = Qt::UserRole + 2;

class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

FolderEntry entryOf(const QTreeWidgetItem* item) {
    FolderEntry entry;
    entry.name = toStd(item->text(0));
    entry.path = toStd(item->data(0, kPathRole).toString());
    entry.kind = static_cast<FolderEntry::Kind>(item->data(0, kKindRole).toInt());
    return entry;
}

QTreeWidgetItem* nextSibling(QTreeWidgetItem* item) {
    if (QTreeWidgetItem* parent = item->parent()) return parent->child(parent->indexOfChild(item) + 1);
    QTreeWidget* tree = item->treeWidget();
    return tree->topLevelItem(tree->indexOfTopLevelItem(item) + 1);
}

void showSystemError(QWidget* parent, int error) {
    DialogRunner::information(parent, fromStd(StringTable::text(IDS_APP_TITLE)), QString::fromLocal8Bit(std::strerror(error)));
}

}  // namespace

CDirTree::CDirTree(QMainWindow* frame, QFileIconProvider& icons, FolderNamespace folders)
    : ControlBar(QStringLiteral("Folders"), frame, Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea),
      tree_(new QTreeWidget(this)), icons_(icons), folders_(std::move(folders)) {
    ControlId::set(tree_, IDC_DIR_TREE);
    tree_->setHeaderHidden(true);
    tree_->setRootIsDecorated(true);
    tree_->setSelectionMode(QAbstractItemView::SingleSelection);
    tree_->setDragDropMode(QAbstractItemView::NoDragDrop);
    tree_->setContextMenuPolicy(Qt::CustomContextMenu);
    setWidget(tree_);

    const auto top = folders_.topLevel();
    home_ = fromStd(top.front().path);
    currentPath_ = home_;
    connect(tree_, &QTreeWidget::itemExpanded, this, &CDirTree::fillOnFirstExpansion);
    connect(tree_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) { onSelectionChanged(current); });
    connect(tree_, &QTreeWidget::customContextMenuRequested, this, &CDirTree::showContextMenu);

    auto needsRealFolder = [this](CommandState& state) { state.enabled = !selectedPath().isEmpty(); };
    addCommand(ID_DIR_RENAME, [this] { DoFolderCommand(Rename); }, needsRealFolder);
    addCommand(ID_DIR_CREATE, [this] { DoFolderCommand(Create); }, needsRealFolder);
    addCommand(ID_DIR_REMOVE, [this] { DoFolderCommand(Remove); }, needsRealFolder);
    addCommand(ID_DIR_REFRESH, [this] { DoFolderCommand(Refresh); });

    WaitCursor wait;
    RebuildTree();
}

QString CDirTree::pathOf(const QTreeWidgetItem* item) { return item ? item->data(0, kPathRole).toString() : QString(); }

void CDirTree::RebuildTree() {
    const QSignalBlocker quiet(tree_);
    tree_->clear();
    addChildFolders(nullptr, folders_.topLevel());
}

void CDirTree::addChildFolders(QTreeWidgetItem* parent, const std::vector<FolderEntry>& entries) {
    for (const auto& entry : entries) {
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree_);
        item->setText(0, fromStd(entry.name));
        item->setData(0, kPathRole, fromStd(entry.path));
        item->setData(0, kKindRole, static_cast<int>(entry.kind));
        if (entry.kind == FolderEntry::Kind::Computer)
            item->setIcon(0, icons_.icon(QFileIconProvider::Computer));
        else
            item->setIcon(0, icons_.icon(QFileInfo(fromStd(entry.path))));
        item->setChildIndicatorPolicy(entry.hasSubfolders ? QTreeWidgetItem::ShowIndicator
                                                          : QTreeWidgetItem::DontShowIndicatorWhenChildless);
    }
}

void CDirTree::fillOnFirstExpansion(QTreeWidgetItem* item) {
    if (item->data(0, kFilledRole).toBool()) return;
    item->setData(0, kFilledRole, true);
    WaitCursor wait;
    addChildFolders(item, folders_.children(entryOf(item)));
    item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
}

QString CDirTree::GetItemPath(QTreeWidgetItem* item) {
    if (!item) return currentPath_;
    const QString path = pathOf(item);
    if (!path.isEmpty()) currentPath_ = path;
    return path;
}

QTreeWidgetItem* CDirTree::SelectPath(const QString& path) {
    WaitCursor wait;
    const QString target = fromStd(FolderNamespace::normalize(toStd(path)));
    QTreeWidgetItem* found = target.isEmpty() ? nullptr : FindPathItem(tree_->topLevelItem(0), target);
    // Selecting the item that is selected already would not hand its folder over again.
    if (found && tree_->currentItem() == found) tree_->setCurrentItem(nullptr);
    tree_->setCurrentItem(found);
    if (found) found->setExpanded(false);
    return found;
}

QTreeWidgetItem* CDirTree::FindPathItem(QTreeWidgetItem* item, const QString& path) {
    const std::string target = toStd(path);
    for (; item; item = nextSibling(item)) {
        const QString itemPath = pathOf(item);
        if (!itemPath.isEmpty() && itemPath == path) return item;
        const bool mayHaveChildren =
            item->childCount() > 0 || item->childIndicatorPolicy() == QTreeWidgetItem::ShowIndicator;
        if (!mayHaveChildren) continue;
        if (!itemPath.isEmpty() && !FolderNamespace::contains(toStd(itemPath), target)) continue;
        item->setExpanded(true);
        if (QTreeWidgetItem* found = FindPathItem(item->child(0), path)) return found;
        item->setExpanded(false);
    }
    return nullptr;
}

void CDirTree::onSelectionChanged(QTreeWidgetItem* current) {
    if (!current) return;
    const QString path = GetItemPath(current);
    // A virtual folder ("Computer") has no path to hand over.
    if (path.isEmpty()) return;
    bool received = true;
    if (auto* form = dynamic_cast<FolderHandlingForm*>(activeView_ ? activeView_() : nullptr)) {
        form->setCurrentFolder(path);
        received = form->ReceiveFolder(path);
    }
    if (!received) returnHome();
}

// A folder the form cannot list sends the tree back to the home folder, once: when the home
// folder cannot be listed either, the selection stays there.
void CDirTree::returnHome() {
    if (returningHome_) return;
    returningHome_ = true;
    SelectPath(home_);
    returningHome_ = false;
}

void CDirTree::showContextMenu(const QPoint& position) {
    const MenuItem* popup = MenuTable::popup(IDR_POPUPS, "Dir");
    if (!popup) return;
    QMenu* menu = MenuBuilder::contextPopup(*popup, *this, this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(tree_->viewport()->mapToGlobal(position));
}

QString CDirTree::selectedPath() const { return pathOf(tree_->currentItem()); }

void CDirTree::DoFolderCommand(int mode) {
    const QString path = selectedPath();
    if (mode == Refresh) {
        rebuildAndSelect(currentPath_);
        return;
    }
    // Folder commands need a folder of the file system; virtual folders have none.
    if (path.isEmpty()) return;
    if (mode == Rename) renameFolder(path);
    if (mode == Create) createFolder(path);
    if (mode == Remove) removeFolder(path);
}

void CDirTree::renameFolder(const QString& path) {
    const QString oldName = fromStd(FolderNamespace::nameOf(toStd(path)));
    CFtpParameterDialog dialog(this);
    dialog.prompt = QStringLiteral("Rename directory\r\n%1\r\nto").arg(path);
    dialog.value = oldName;
    if (DialogRunner::run(dialog) != QDialog::Accepted || dialog.value == oldName) return;
    const QString parent = fromStd(FolderNamespace::parentOf(toStd(path)));
    // A name that would move the folder elsewhere, or replace another folder, fails silently
    // as every failed rename does.
    if (dialog.value.isEmpty() || dialog.value.contains(QLatin1Char('/')) || parent.isEmpty()) return;
    const QString newPath = fromStd(FolderNamespace::join(toStd(parent), toStd(dialog.value)));
    std::error_code error;
    if (std::filesystem::exists(std::filesystem::symlink_status(toStd(newPath), error))) return;
    if (::rename(QFile::encodeName(path).constData(), QFile::encodeName(newPath).constData()) != 0) return;
    rebuildAndSelect(newPath);
}

void CDirTree::createFolder(const QString& path) {
    CFtpParameterDialog dialog(this);
    dialog.prompt = QStringLiteral("Create directory on\r\n%1\r\n").arg(path);
    if (DialogRunner::run(dialog) != QDialog::Accepted || dialog.value.isEmpty()) return;
    const QString newPath = fromStd(FolderNamespace::join(toStd(path), toStd(dialog.value)));
    if (::mkdir(QFile::encodeName(newPath).constData(), 0777) != 0) {
        showSystemError(this, errno);
        return;
    }
    rebuildAndSelect(newPath);
}

void CDirTree::removeFolder(const QString& path) {
    if (::rmdir(QFile::encodeName(path).constData()) != 0) {
        showSystemError(this, errno);
        return;
    }
    rebuildAndSelect(fromStd(FolderNamespace::parentOf(toStd(path))));
}

void CDirTree::rebuildAndSelect(const QString& path) {
    RebuildTree();
    SelectPath(path);
}
