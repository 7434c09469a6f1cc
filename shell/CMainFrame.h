#pragma once

#include "framework/ModuleId.h"
#include "framework/CommandTable.h"
#include "framework/CommandTarget.h"

#include <QMainWindow>
#include <QTimer>

class CDirTree;
class ChildFrame;
class ModuleRegistry;
class PlayerCloseControl;
class QMdiArea;
class QMdiSubWindow;
class QToolBar;
class QTreeWidgetItem;
class StatusBar;

// The program's one top-level window: a workbook of module windows shown as tabs, the main
// toolbar, the status bar and the docking directory tree. Opens each module at most once,
// shows help pages, selects folders in the tree, and waits for the Player before it closes.
class CMainFrame : public QMainWindow, public CommandTarget {
    Q_OBJECT
public:
    explicit CMainFrame(ModuleRegistry& modules);
    ~CMainFrame() override;

    // Builds toolbar, status bar, directory tree and workbook; false when a part failed.
    bool create();

    void OpenModuleWindow(ModuleId module);
    void ShowHelpPage(const QString& address);
    QTreeWidgetItem* SelectFolder(const QString& path);

    CommandTable& commands() { return commands_; }
    CDirTree* dirTree() const { return dirTree_; }
    QToolBar* mainToolBar() const { return toolBar_; }
    StatusBar* mainStatusBar() const { return statusBar_; }
    QMdiArea* workbook() const { return workbook_; }
    ChildFrame* activeChild() const;
    // The window of the module, or null.
    ChildFrame* childOf(ModuleId module) const;
    // Whether a close request waits for the Player to stop (timer 1112 runs).
    bool isWaitingForPlayer() const { return closeTimer_.isActive(); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void addFrameCommands();
    void addToggle(int command, QWidget* bar);
    void onChildActivated(QMdiSubWindow* window);
    void updateTitle();
    void updateLockIndicators();
    void checkPlayerStopped();
    void placeOnScreen();
    void nameTabCloseButtons();
    // F6 and Shift+F6: the focus moves between the folder tree, the active form's file list and
    // the form's fields.
    std::vector<QWidget*> focusPanes() const;
    void moveFocusBetweenPanes(int step);
    PlayerCloseControl* player() const;
    std::vector<CommandTarget*> commandChain() const;

    ModuleRegistry& modules_;
    CommandTable commands_;
    StatusBar* statusBar_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    CDirTree* dirTree_ = nullptr;
    QMdiArea* workbook_ = nullptr;
    QTimer closeTimer_;
    QTimer updateTimer_;
    ChildFrame* lastActive_ = nullptr;
    bool opening_ = false;
};
