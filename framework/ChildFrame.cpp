#include "framework/ChildFrame.h"

#include "framework/CommandTable.h"
#include "framework/DocTemplate.h"
#include "framework/StatusBar.h"
#include "framework/ToolBarBuilder.h"
#include "resources/ResourceIds.h"

#include <QCloseEvent>
#include <QMainWindow>
#include <QScrollArea>
#include <QToolBar>

ChildFrame::ChildFrame(DocTemplate& docTemplate, std::unique_ptr<Document> document, CommandTable& commands)
    : docTemplate_(docTemplate), document_(std::move(document)), commands_(commands),
      frameWindow_(new QMainWindow), formArea_(new QScrollArea) {
    frameWindow_->setWindowFlags(Qt::Widget);
    formArea_->setWidgetResizable(true);
    formArea_->setFrameShape(QFrame::NoFrame);
    frameWindow_->setCentralWidget(formArea_);
    setWidget(frameWindow_);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(docTemplate.icon());
    addCommand(ID_FILE_CLOSE, [this] { closeWithoutAsking(); });
}

ChildFrame::~ChildFrame() { docTemplate_.releaseForm(form()); }

QWidget* ChildFrame::form() const { return formArea_->widget(); }

void ChildFrame::setForm(QWidget* form) { formArea_->setWidget(form); }

QToolBar* ChildFrame::addToolBar(int resourceId, int barId) {
    QToolBar* bar = ToolBarBuilder::build(resourceId, barId, commands_, frameWindow_);
    frameWindow_->addToolBar(Qt::TopToolBarArea, bar);
    return bar;
}

StatusBar* ChildFrame::addStatusBar(const QStringList& paneTexts) {
    auto* bar = new StatusBar(AFX_IDW_STATUS_BAR, QString(), paneTexts, frameWindow_);
    frameWindow_->setStatusBar(bar);
    return bar;
}

void ChildFrame::closeWithoutAsking() {
    closingWithoutAsking_ = true;
    close();
    closingWithoutAsking_ = false;
}

void ChildFrame::closeEvent(QCloseEvent* event) {
    if (!closingWithoutAsking_ && !acceptSystemClose()) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
}
