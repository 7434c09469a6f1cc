#include "shell/CMainFrame.h"

#include "framework/CommandIcons.h"
#include "framework/ControlId.h"
#include "framework/DocTemplate.h"
#include "framework/LockKeyState.h"
#include "framework/MenuBuilder.h"
#include "framework/ModuleForm.h"
#include "framework/ModuleRegistry.h"
#include "framework/QtText.h"
#include "framework/StatusBar.h"
#include "framework/ToolBarBuilder.h"
#include "resources/ResourceIds.h"
#include "resources/StringTable.h"
#include "shell/CChildFrame.h"
#include "shell/CDirList.h"
#include "shell/CDirTree.h"
#include "shell/FolderHandlingForm.h"
#include "shell/FrameGeometry.h"
#include "shell/HelpBrowserForm.h"
#include "shell/PlayerCloseControl.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QMdiArea>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QStandardPaths>
#include <QTabBar>
#include <QToolBar>
#include <QTreeWidget>
#include <QWhatsThis>

namespace {

constexpr int kUpdateIntervalMs = 250;
constexpr int kPlayerWaitMs = 1000;
constexpr int kTreeWidth = 220;

struct ModuleCommand {
    int command;
    ModuleId module;
};

constexpr ModuleCommand kModuleCommands[] = {
    {ID_DECODER, ModuleId::Decoder}, {ID_ENCODER, ModuleId::Encoder},     {ID_PLAYER, ModuleId::Player},
    {ID_CONVERTER, ModuleId::Converter}, {ID_HELP, ModuleId::Help},       {ID_HELP_INDEX, ModuleId::Help},
    {ID_HELP_FINDER, ModuleId::Help},
    // The frame menu's "&Decode" entry opens the Decoder; inside it, the Decoder's own Decode runs.
    {ID_DECODE, ModuleId::Decoder},
};

}  // namespace

CMainFrame::CMainFrame(ModuleRegistry& modules) : modules_(modules) {
    ControlId::set(this, IDR_MAINFRAME);
    resize(FrameGeometry::DefaultSize);
    setWindowIcon(CommandIcons::forResource(IDR_MAINFRAME));
    commands_.router().setChain([this] { return commandChain(); });
    closeTimer_.setInterval(kPlayerWaitMs);
    closeTimer_.setProperty("timerId", TIMER_WAIT_FOR_PLAYER);
    connect(&closeTimer_, &QTimer::timeout, this, &CMainFrame::checkPlayerStopped);
    updateTimer_.setInterval(kUpdateIntervalMs);
    connect(&updateTimer_, &QTimer::timeout, this, [this] {
        commands_.updateAll();
        updateLockIndicators();
    });
}

CMainFrame::~CMainFrame() {
    // The workbook outlives this part of the object while QWidget tears the children down.
    if (workbook_) workbook_->disconnect(this);
}

bool CMainFrame::create() {
    toolBar_ = ToolBarBuilder::build(IDR_MAINFRAME, AFX_IDW_TOOLBAR, commands_, this);
    addToolBar(Qt::TopToolBarArea, toolBar_);

    statusBar_ = new StatusBar(AFX_IDW_STATUS_BAR, fromStd(StringTable::text(IDS_IDLE_MESSAGE)),
                               {fromStd(StringTable::text(IDS_INDICATOR_CAPS)),
                                fromStd(StringTable::text(IDS_INDICATOR_NUM)),
                                fromStd(StringTable::text(IDS_INDICATOR_SCRL))},
                               this);
    setStatusBar(statusBar_);

    dirTree_ = new CDirTree(this, modules_.iconProvider(),
                            FolderNamespace(toStd(QDir::homePath()),
                                            toStd(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation))));
    if (dirTree_->barId() == 0) return false;
    dirTree_->setActiveViewLookup([this] {
        ChildFrame* child = activeChild();
        return child ? child->form() : nullptr;
    });
    dirTree_->tree()->setAccessibleName(QStringLiteral("Folders"));
    addDockWidget(Qt::LeftDockWidgetArea, dirTree_);
    resizeDocks({dirTree_}, {kTreeWidth}, Qt::Horizontal);

    workbook_ = new QMdiArea(this);
    workbook_->setViewMode(QMdiArea::TabbedView);
    workbook_->setDocumentMode(true);
    workbook_->setTabsClosable(true);
    workbook_->setTabsMovable(true);
    setCentralWidget(workbook_);
    connect(workbook_, &QMdiArea::subWindowActivated, this, &CMainFrame::onChildActivated);

    addFrameCommands();
    commands_.installAccelerators(this, IDR_MAINFRAME);
    MenuBuilder::fillMenuBar(menuBar(), IDR_MAINFRAME, commands_);
    if (auto* more = menuBar()->findChild<QWidget*>(QStringLiteral("qt_menubar_ext_button")))
        more->setAccessibleName(QStringLiteral("More menus"));
    updateTitle();
    commands_.updateAll();
    updateTimer_.start();
    placeOnScreen();
    return true;
}

void CMainFrame::placeOnScreen() {
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const FrameGeometry::Placement placement =
        FrameGeometry::initial(modules_.settings(), screen ? screen->availableGeometry() : QRect());
    // Stored and restored as the inner rectangle, so that the window does not wander by the size
    // of its frame at each start.
    if (placement.position)
        setGeometry(QRect(*placement.position, placement.size));
    else
        resize(placement.size);
}

void CMainFrame::addFrameCommands() {
    for (const auto& [command, module] : kModuleCommands) addCommand(command, [this, module = module] { OpenModuleWindow(module); });
    addToggle(ID_VIEW_DIRTREE, dirTree_);
    addToggle(ID_VIEW_TOOLBAR, toolBar_);
    addToggle(ID_VIEW_STATUS_BAR, statusBar_);
    addCommand(ID_APP_EXIT, [this] { close(); });
    addCommand(ID_CONTEXT_HELP, [] { QWhatsThis::enterWhatsThisMode(); });
    addCommand(ID_NEXT_PANE, [this] { moveFocusBetweenPanes(1); });
    addCommand(ID_PREV_PANE, [this] { moveFocusBetweenPanes(-1); });
}

std::vector<QWidget*> CMainFrame::focusPanes() const {
    std::vector<QWidget*> panes;
    if (dirTree_->isVisible()) panes.push_back(dirTree_->tree());
    ChildFrame* child = activeChild();
    QWidget* form = child ? child->form() : nullptr;
    if (!form) return panes;
    auto* list = form->findChild<CDirList*>();
    if (list && list->isVisible()) panes.push_back(list);
    // The form's first field: the first stop of its tab chain that is not the list.
    for (QWidget* widget = form->nextInFocusChain(); widget != form; widget = widget->nextInFocusChain()) {
        const bool inList = list && (widget == list || list->isAncestorOf(widget));
        if (!inList && form->isAncestorOf(widget) && (widget->focusPolicy() & Qt::TabFocus) &&
            widget->isVisible() && widget->isEnabled()) {
            panes.push_back(widget);
            break;
        }
    }
    return panes;
}

void CMainFrame::moveFocusBetweenPanes(int step) {
    const std::vector<QWidget*> panes = focusPanes();
    if (panes.empty()) return;
    const int count = static_cast<int>(panes.size());
    QWidget* focus = QApplication::focusWidget();
    // The pane that holds the focus; all the form's fields count as one pane, the last.
    int current = -1;
    for (int i = 0; i < count && focus && current < 0; ++i)
        if (focus == panes[i] || panes[i]->isAncestorOf(focus)) current = i;
    ChildFrame* child = activeChild();
    if (current < 0 && focus && child && child->form() && child->form()->isAncestorOf(focus)) current = count - 1;
    const int next = current < 0 ? (step > 0 ? 0 : count - 1) : (current + step + count) % count;
    panes[next]->setFocus(step > 0 ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

// Shows the bar when it is hidden and hides it when it is visible, at once; the check mark
// follows the bar however its visibility changed.
void CMainFrame::addToggle(int command, QWidget* bar) {
    addCommand(
        command, [this, bar] { bar->setVisible(!bar->isVisibleTo(this)); },
        [this, bar](CommandState& state) {
            state.checkable = true;
            state.checked = bar->isVisibleTo(this);
        });
}

std::vector<CommandTarget*> CMainFrame::commandChain() const {
    ChildFrame* child = activeChild();
    CommandTarget* form = child ? dynamic_cast<CommandTarget*>(child->form()) : nullptr;
    return {form, child, const_cast<CMainFrame*>(this), &modules_.applicationCommands()};
}

ChildFrame* CMainFrame::activeChild() const {
    return workbook_ ? qobject_cast<ChildFrame*>(workbook_->activeSubWindow()) : nullptr;
}

ChildFrame* CMainFrame::childOf(ModuleId module) const {
    if (!workbook_) return nullptr;
    // A live form stands in a frame of its own template: the template alone finds the frame.
    const DocTemplate& docTemplate = modules_.docTemplate(module);
    for (QMdiSubWindow* window : workbook_->subWindowList()) {
        auto* child = qobject_cast<ChildFrame*>(window);
        if (child && &child->docTemplate() == &docTemplate) return child;
    }
    return nullptr;
}

void CMainFrame::OpenModuleWindow(ModuleId module) {
    if (ChildFrame* existing = childOf(module)) {
        workbook_->setActiveSubWindow(existing);
        return;
    }
    DocTemplate& docTemplate = modules_.docTemplate(module);
    std::unique_ptr<Document> document = docTemplate.createDocument();
    if (!document) return;
    auto* child = new CChildFrame(docTemplate, std::move(document), commands_);
    QWidget* form = docTemplate.createForm(child->document(), *child);
    if (!form) {
        // A module whose form cannot be made (or does not exist yet) does not open.
        delete child;
        return;
    }
    child->setForm(form);
    child->setWindowTitle(docTemplate.title());
    // The caption names the active window's title as it changes (the page shown, the song played).
    connect(child, &QWidget::windowTitleChanged, this, [this, child] {
        if (activeChild() == child) updateTitle();
    });
    opening_ = true;
    workbook_->addSubWindow(child);
    if (auto* moduleForm = dynamic_cast<ModuleForm*>(form)) moduleForm->initialUpdate(*child);
    child->show();
    workbook_->setActiveSubWindow(child);
    opening_ = false;
    child->document().setTitle(docTemplate.title());
    updateTitle();
    nameTabCloseButtons();

    if (auto* folderForm = dynamic_cast<FolderHandlingForm*>(form)) {
        dirTree_->SelectPath(folderForm->currentFolder());
        dirTree_->DoFolderCommand(CDirTree::Refresh);
    }
    if (auto* browser = dynamic_cast<HelpBrowserForm*>(form)) browser->RebuildFavorites();
    commands_.updateAll();
}

// The close buttons of the tabs say which module window they close.
void CMainFrame::nameTabCloseButtons() {
    auto* tabs = workbook_->findChild<QTabBar*>();
    if (!tabs) return;
    for (int i = 0; i < tabs->count(); ++i)
        if (QWidget* close = tabs->tabButton(i, QTabBar::RightSide))
            close->setAccessibleName(QStringLiteral("Close ") + tabs->tabText(i));
}

void CMainFrame::ShowHelpPage(const QString& address) {
    OpenModuleWindow(ModuleId::Help);
    if (auto* browser = dynamic_cast<HelpBrowserForm*>(modules_.docTemplate(ModuleId::Help).form())) browser->Navigate(address);
}

QTreeWidgetItem* CMainFrame::SelectFolder(const QString& path) { return dirTree_->SelectPath(path); }

void CMainFrame::onChildActivated(QMdiSubWindow* window) {
    auto* child = qobject_cast<ChildFrame*>(window);
    // The keyboard follows the window in front: left in the one behind, it would bring that one
    // back to the front the next time the main window gets the focus.
    if (child && child->form() && !child->isAncestorOf(QApplication::focusWidget())) child->form()->setFocus(Qt::OtherFocusReason);
    MenuBuilder::fillMenuBar(menuBar(), child ? child->docTemplate().resourceId() : IDR_MAINFRAME, commands_);
    updateTitle();
    commands_.updateAll();
    // A folder-handling form that becomes active shows its folder in the tree.
    if (child && child != lastActive_ && !opening_) {
        if (auto* folderForm = dynamic_cast<FolderHandlingForm*>(child->form()))
            SelectFolder(folderForm->currentFolder());
    }
    if (child) lastActive_ = child;
}

void CMainFrame::updateTitle() {
    const QString title = fromStd(StringTable::text(IDS_FRAME_TITLE));
    ChildFrame* child = activeChild();
    setWindowTitle(child ? title + QStringLiteral(" - ") + child->windowTitle() : title);
}

void CMainFrame::updateLockIndicators() {
    const auto states = LockKeyState::current();
    statusBar_->setPaneLit(1, states && states->caps);
    statusBar_->setPaneLit(2, states && states->num);
    statusBar_->setPaneLit(3, states && states->scroll);
}

PlayerCloseControl* CMainFrame::player() const {
    return dynamic_cast<PlayerCloseControl*>(modules_.docTemplate(ModuleId::Player).form());
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (PlayerCloseControl* playing = player(); playing && !playing->isStopped()) {
        playing->closeWhenStopped();
        closeTimer_.start();
        event->ignore();
        return;
    }
    for (QMdiSubWindow* window : workbook_->subWindowList())
        if (auto* child = qobject_cast<ChildFrame*>(window)) child->closeWithoutAsking();
    // Closed children are deleted later; only a child that refused to close keeps the frame open.
    for (QMdiSubWindow* window : workbook_->subWindowList()) {
        if (window->isVisible()) {
            event->ignore();
            return;
        }
    }
    updateTimer_.stop();
    FrameGeometry::store(modules_.settings(), normalGeometry());
    event->accept();
}

void CMainFrame::checkPlayerStopped() {
    PlayerCloseControl* playing = player();
    if (playing && !playing->isStopped()) return;
    closeTimer_.stop();
    close();
}
