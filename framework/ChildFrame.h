#pragma once

#include "framework/CommandTarget.h"
#include "framework/Document.h"

#include <QMdiSubWindow>

#include <memory>

class CommandTable;
class DocTemplate;
class QMainWindow;
class QScrollArea;
class QToolBar;
class StatusBar;

// A module window of the workbook: a tab of the main frame holding a frame of its own, so the
// module's form gets its own docked toolbar and status bar. The child frame owns the document.
class ChildFrame : public QMdiSubWindow, public CommandTarget {
    Q_OBJECT
public:
    ChildFrame(DocTemplate& docTemplate, std::unique_ptr<Document> document, CommandTable& commands);
    // Tells the template that its live form goes with this frame.
    ~ChildFrame() override;

    const DocTemplate& docTemplate() const { return docTemplate_; }
    Document& document() { return *document_; }
    QMainWindow* frameWindow() const { return frameWindow_; }
    // The command table that the menus and toolbars of every window share.
    CommandTable& commands() const { return commands_; }
    // The module form, shown in a scroll area that is the frame's central widget: below the
    // form's minimum size the form scrolls instead of being cut.
    QWidget* form() const;
    void setForm(QWidget* form);

    // A toolbar from toolbar table resourceId, docked at the top of this frame.
    QToolBar* addToolBar(int resourceId, int barId);
    // A status bar for this frame with pane 0 for messages and the further panes given.
    StatusBar* addStatusBar(const QStringList& paneTexts);

    // Closes the window without the checks of the close box (the Close command, the end of the
    // program).
    void closeWithoutAsking();

protected:
    // The close box or the system menu's Close. Returns true when the frame closes now.
    virtual bool acceptSystemClose() { return true; }
    void closeEvent(QCloseEvent* event) override;

private:
    // Scrolls the form so that the field (a descendant of it) shows whole where it fits.
    void showWhole(QWidget* field);

    DocTemplate& docTemplate_;
    std::unique_ptr<Document> document_;
    CommandTable& commands_;
    QMainWindow* frameWindow_;
    QScrollArea* formArea_;
    bool closingWithoutAsking_ = false;
};
