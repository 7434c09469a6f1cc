#include "framework/ChildFrame.h"

#include "framework/CommandTable.h"
#include "framework/DocTemplate.h"
#include "framework/StatusBar.h"
#include "framework/ToolBarBuilder.h"
#include "resources/ResourceIds.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMainWindow>
#include <QScrollArea>
#include <QToolBar>

namespace {

// Room kept around a field that scrolls into view.
constexpr int kFocusMargin = 8;

}  // namespace

ChildFrame::ChildFrame(DocTemplate& docTemplate, std::unique_ptr<Document> document, CommandTable& commands)
    : docTemplate_(docTemplate), document_(std::move(document)), commands_(commands),
      frameWindow_(new QMainWindow), formArea_(new QScrollArea) {
    frameWindow_->setWindowFlags(Qt::Widget);
    formArea_->setWidgetResizable(true);
    formArea_->setFrameShape(QFrame::NoFrame);
    formArea_->setFocusPolicy(Qt::NoFocus);
    // Whatever brings a field the focus (Tab, F6, a mnemonic, a form), the whole field scrolls
    // into view; the scroll area alone would show only a text field's cursor.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && form() && form()->isAncestorOf(now)) showWhole(now);
    });
    frameWindow_->setCentralWidget(formArea_);
    setWidget(frameWindow_);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(docTemplate.icon());
    addCommand(ID_FILE_CLOSE, [this] { closeWithoutAsking(); });
}

ChildFrame::~ChildFrame() { docTemplate_.releaseForm(form()); }

void ChildFrame::showWhole(QWidget* field) {
    const QRect onForm(field->mapTo(form(), QPoint(0, 0)), field->size());
    formArea_->ensureVisible(onForm.center().x(), onForm.center().y(), onForm.width() / 2 + kFocusMargin,
                             onForm.height() / 2 + kFocusMargin);
}

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
