#pragma once

#include "framework/CommandTarget.h"
#include "shell/LVFILEDATA.h"

#include <QPoint>
#include <QString>
#include <QTreeWidget>

#include <vector>

class ListPlayerTarget;
class QFileIconProvider;

// The file list of a folder-handling module form (control 1001): the files of the folder the
// tree handed over with Name, Size and Modified, an optional name filter, sorting by a clicked
// column, and Rename, Delete and Refresh (in the Player also Play and Add Playlist) from its
// context menu.
class CDirList : public QTreeWidget, public CommandTarget {
    Q_OBJECT
public:
    enum FileCommand { Delete = 1, Rename = 3 };
    enum ColumnIndex { NameColumn, SizeColumn, ModifiedColumn };

    CDirList(QFileIconProvider* icons, QWidget* parent = nullptr);
    ~CDirList() override;

    void InitColumns(const QString& filter, bool details);
    // An empty text means no filter. Rewrites the first column's title; does not list again.
    void SetFilter(const QString& text);
    // Lists the folder; false (and an empty list) when it cannot be read.
    bool ShowFolder(const QString& folder);
    // Lists the shown folder again; nothing when none was shown.
    void RefreshList();
    void ClearList();
    // The path of the file row under the last mouse press, or empty; kept as the clicked path.
    QString GetClickedFile();
    void DoFileCommand(int mode);
    // Gives the module form its Rename, Refresh and Delete commands on this list; Rename and
    // Delete are enabled as whenFilePicked says.
    void addFormCommands(CommandTarget& form, const CommandTarget::Update& whenFilePicked);

    QString filter() const { return filter_; }
    QString shownFolder() const { return folder_; }
    const std::vector<LVFILEDATA>& rows() const { return rows_; }
    // The paths of the rows as they stand, top to bottom.
    QStringList rowPaths() const;
    QStringList selectedPaths() const;

signals:
    // A left click in the list, on a row or on the empty area.
    void fileClicked();
    void fileDoubleClicked();
    // The rows were listed again (ShowFolder, RefreshList).
    void listed();
    // Enter in the list, after the current row became the clicked file: the form runs its main
    // action on it.
    void enterPressed();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    // Space makes the current row the clicked file, as a click on it does; Enter does the same
    // (unless the row is already the clicked file) and then asks for the form's main action.
    // Moving with the arrow keys picks nothing: picking a part may open a message box.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void addRow(std::size_t index);
    void showRows();
    void sortByColumn(int column);
    void updateTitle();
    void showContextMenu(const QPoint& position);
    ListPlayerTarget* player() const;
    bool renameFile(const QString& path);
    // Selects and shows the current row and makes it the row under the last press; false when
    // there is none.
    bool aimAtCurrentRow();
    void pickCurrentRow();

    QFileIconProvider* icons_;
    std::vector<LVFILEDATA> rows_;
    QString filter_;
    QString folder_;
    QString clickedPath_;
    QPoint pressPosition_{-1, -1};
    bool folderShown_ = false;
    // Every header click flips it first: the first click sorts names A to Z, larger and newer first.
    bool sortReversed_ = true;
    bool details_ = true;
};
