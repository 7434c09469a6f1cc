#pragma once

#include "framework/CommandTarget.h"
#include "framework/ControlBar.h"
#include "shell/FolderNamespace.h"

#include <functional>

class QFileIconProvider;
class QTreeWidget;
class QTreeWidgetItem;

// The docking folder tree of the main frame. Branches fill when first expanded; the folder the
// user selects goes to the active folder-handling form; the context menu "Dir" renames, creates
// and removes folders and rebuilds the tree.
class CDirTree : public ControlBar, public CommandTarget {
    Q_OBJECT
public:
    enum FolderCommand { Remove = 1, Rename = 3, Create = 5, Refresh = 6 };
    using ActiveViewLookup = std::function<QWidget*()>;

    CDirTree(QMainWindow* frame, QFileIconProvider& icons, FolderNamespace folders);

    // How the tree finds the form that receives the folders (the active module form, or null).
    void setActiveViewLookup(ActiveViewLookup lookup) { activeView_ = std::move(lookup); }

    void RebuildTree();
    // Selects the item of path (expanding only what lies on the way) and returns it; null, with
    // the selection cleared, when the tree has no such folder.
    QTreeWidgetItem* SelectPath(const QString& path);
    // The item's file-system path (empty for a virtual folder); a real path becomes the tree's
    // current path.
    QString GetItemPath(QTreeWidgetItem* item);
    void DoFolderCommand(int mode);

    QTreeWidget* tree() const { return tree_; }
    QString currentPath() const { return currentPath_; }
    static QString pathOf(const QTreeWidgetItem* item);

private:
    void addChildFolders(QTreeWidgetItem* parent, const std::vector<FolderEntry>& entries);
    void fillOnFirstExpansion(QTreeWidgetItem* item);
    QTreeWidgetItem* FindPathItem(QTreeWidgetItem* item, const QString& path);
    void onSelectionChanged(QTreeWidgetItem* current);
    void returnHome();
    void showContextMenu(const QPoint& position);
    void renameFolder(const QString& path);
    void createFolder(const QString& path);
    void removeFolder(const QString& path);
    void rebuildAndSelect(const QString& path);
    QString selectedPath() const;

    QTreeWidget* tree_;
    QFileIconProvider& icons_;
    FolderNamespace folders_;
    QString home_;
    QString currentPath_;
    ActiveViewLookup activeView_;
    bool returningHome_ = false;
};
