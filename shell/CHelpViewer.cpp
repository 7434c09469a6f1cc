#include "shell/CHelpViewer.h"

#include "base/SettingsStore.h"
#include "framework/ChildFrame.h"
#include "framework/CommandTable.h"
#include "framework/ControlId.h"
#include "framework/DialogRunner.h"
#include "framework/FormHost.h"
#include "framework/QtText.h"
#include "framework/StatusBar.h"
#include "framework/ToolBarBuilder.h"
#include "resources/MenuTable.h"
#include "resources/ResourceIds.h"
#include "resources/StringTable.h"
#include "shell/BusyIndicator.h"
#include "shell/CFtpParameterDialog.h"

#include <QAction>
#include <QActionEvent>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWebEngineHistory>
#include <QWebEngineHttpRequest>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {

constexpr const char* kSection = "Help";
constexpr int kButtonImageSize = 22;
constexpr int kMinButtonWidth = 50;
constexpr int kMaxButtonWidth = 150;
constexpr int kAddressBoxWidth = 200;
constexpr const char* kFavoritesTitle = "F&avorites";

QString text(int id) { return fromStd(StringTable::text(id)); }

struct FontCommand {
    int command;
    int level;
};
constexpr FontCommand kFontCommands[] = {
    {ID_FONT_LARGEST, 4}, {ID_FONT_LARGE, 3}, {ID_FONT_MEDIUM, 2}, {ID_FONT_SMALL, 1}, {ID_FONT_SMALLEST, 0}};

}  // namespace

QWidget* CHelpViewer::create(FormHost& host, Document& document, ChildFrame& frame) {
    return new CHelpViewer(host, document, frame);
}

CHelpViewer::CHelpViewer(FormHost& host, Document& document, ChildFrame& frame)
    : host_(host), document_(document), frame_(frame), commands_(frame.commands()) {
    browser_ = new QWebEngineView(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    setFocusProxy(browser_);  // the keys scroll the page

    favoritesMenu_ = new QMenu(QString::fromLatin1(kFavoritesTitle), this);
    fontMenu_ = new QMenu(this);
    for (const MenuItem& item : MenuTable::menu(IDR_FONTMENU).front().items) {
        QAction* action = fontMenu_->addAction(fromStd(item.text));
        ControlId::set(action, item.command);
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, [this, command = item.command] { execute(command); });
    }
    connect(fontMenu_, &QMenu::aboutToShow, this, [this] {
        for (QAction* action : fontMenu_->actions()) action->setChecked(stateOf(ControlId::of(action)).checked);
    });

    createBand(frame);
    addCommands();

    QWebEnginePage* page = browser_->page();
    connect(page, &QWebEnginePage::loadingChanged, this, &CHelpViewer::onLoadingChanged);
    connect(page, &QWebEnginePage::urlChanged, this, &CHelpViewer::onUrlChanged);
    connect(page, &QWebEnginePage::linkHovered, this, [this](const QString& link) { statusBar_->setPaneText(0, link); });
}

CHelpViewer::~CHelpViewer() { browser_->page()->disconnect(this); }

void CHelpViewer::createBand(ChildFrame& frame) {
    QMainWindow* window = frame.frameWindow();
    browseBar_ = new QToolBar(window);
    ControlId::set(browseBar_, AFX_IDW_TOOLBAR);
    browseBar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    browseBar_->setIconSize(QSize(kButtonImageSize, kButtonImageSize));
    browseBar_->setMovable(false);
    addButton(ID_BROWSE_BACK, IDS_HELP_BACK);
    addButton(ID_BROWSE_FORWARD, IDS_HELP_FORWARD);
    addButton(ID_BROWSE_STOP, IDS_HELP_STOP);
    addButton(ID_BROWSE_REFRESH, IDS_HELP_REFRESH);
    addButton(ID_BROWSE_HOME, IDS_HELP_HOME);
    addButton(ID_BROWSE_SEARCH, IDS_HELP_SEARCH);
    addButton(ID_BROWSE_FAVORITES, IDS_HELP_FAVORITES, favoritesMenu_);
    addButton(ID_FILE_PRINT, IDS_HELP_PRINT);
    addButton(ID_BROWSE_FONT, IDS_HELP_FONT, fontMenu_);
    auto* gap = new QWidget(browseBar_);
    gap->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    browseBar_->addWidget(gap);
    busy_ = new BusyIndicator(browseBar_);
    ControlId::set(busy_, IDC_HELP_ANIMATION);
    browseBar_->addWidget(busy_);
    window->addToolBar(Qt::TopToolBarArea, browseBar_);
    window->addToolBarBreak(Qt::TopToolBarArea);

    addressBar_ = new QToolBar(window);
    addressBar_->setMovable(false);
    addressBar_->addWidget(new QLabel(text(IDS_ADDRESS_LABEL) + QLatin1Char(' '), addressBar_));
    addressBox_ = new QComboBox(addressBar_);
    ControlId::set(addressBox_, IDC_HELP_ADDRESS);
    addressBox_->setEditable(true);
    // Enter is handled by Go alone: the box neither inserts nor picks an entry by itself.
    addressBox_->setInsertPolicy(QComboBox::NoInsert);
    addressBox_->setDuplicatesEnabled(true);
    addressBox_->setMinimumWidth(kAddressBoxWidth);
    addressBox_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    addressBar_->addWidget(addressBox_);
    window->addToolBar(Qt::TopToolBarArea, addressBar_);
    ToolBarBuilder::nameForScreenReaders(browseBar_, QStringLiteral("Toolbar"));
    ToolBarBuilder::nameForScreenReaders(addressBar_, QStringLiteral("Address bar"));
    addressBox_->setAccessibleName(text(IDS_ADDRESS_LABEL).remove(QLatin1Char('&')));
    connect(addressBox_->lineEdit(), &QLineEdit::returnPressed, this, &CHelpViewer::Go);
    connect(addressBox_, qOverload<int>(&QComboBox::activated), this, &CHelpViewer::openListEntry);
    addressBox_->lineEdit()->installEventFilter(this);

    statusBar_ = frame.addStatusBar({});
}

// A button of the band: the command's shared action under the band's own text, with a
// drop-down arrow that opens its menu where one is given.
void CHelpViewer::addButton(int command, int textId, QMenu* dropDown) {
    QAction* own = commands_.followingAction(command, text(textId), browseBar_);
    auto* button = new QToolButton(browseBar_);
    button->setDefaultAction(own);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setMinimumWidth(kMinButtonWidth);
    button->setMaximumWidth(kMaxButtonWidth);
    if (dropDown) {
        button->setMenu(dropDown);
        button->setPopupMode(QToolButton::MenuButtonPopup);
    }
    browseBar_->addWidget(button);
}

void CHelpViewer::addCommands() {
    auto back = [this] { browser_->back(); };
    auto forward = [this] { browser_->forward(); };
    auto canGoBack = [this](CommandState& state) { state.enabled = browser_->history()->canGoBack(); };
    auto canGoForward = [this](CommandState& state) { state.enabled = browser_->history()->canGoForward(); };
    auto stop = [this] { browser_->stop(); };
    auto whileLoading = [this](CommandState& state) { state.enabled = loading_; };
    auto reload = [this] { browser_->reload(); };
    addCommand(ID_BROWSE_BACK, back, canGoBack);
    addCommand(ID_GO_BACK, back, canGoBack);
    addCommand(ID_BROWSE_FORWARD, forward, canGoForward);
    addCommand(ID_GO_FORWARD, forward, canGoForward);
    addCommand(ID_BROWSE_STOP, stop, whileLoading);
    addCommand(ID_VIEW_STOP, stop, whileLoading);
    addCommand(ID_BROWSE_REFRESH, reload);
    addCommand(ID_VIEW_REFRESH, reload);
    addCommand(ID_BROWSE_HOME, [this] { Home(); });
    addCommand(ID_FILE_OPEN_FILE, [this] { openFile(); });
    addCommand(ID_FILE_OPEN, [this] { openFile(); });
    addCommand(ID_FILE_OPEN_URL, [this] { openUrl(); });
    for (const auto& [command, level] : kFontCommands) {
        addCommand(command, [this, level = level] { setZoomLevel(level); },
                   [this, level = level](CommandState& state) {
                       state.checkable = true;
                       state.checked = zoomLevel_ == level;
                   });
    }
    // The buttons with drop-down arrows do nothing themselves; their arrows open the menus.
    addCommand(ID_BROWSE_FAVORITES, [] {});
    addCommand(ID_BROWSE_FONT, [] {});
    addCommandRange(ID_FAVORITE_FIRST, ID_FAVORITE_LAST, [this](int command) { openFavorite(command); });
    addCommand(ID_HELP_CLOSE, [this] { frame_.closeWithoutAsking(); });
    addCommand(ID_FILE_PRINT, [this] { print(); });
    addCommand(ID_FILE_PRINT_PREVIEW, [this] { printPreview(); });
    addCommand(ID_FILE_PRINT_SETUP, [this] { printSetup(); });
}

void CHelpViewer::initialUpdate(ChildFrame&) {
    // The workbook's menu bar shows the Help window's menu while it is active; its Favorites
    // popup is filled from this window's list.
    if (auto* workbookWindow = qobject_cast<QMainWindow*>(window())) workbookWindow->menuBar()->installEventFilter(this);
    const QString start = host_.programFolder() + QStringLiteral("hlp/index.htm");
    Navigate(fromStd(host_.settings().getText(kSection, "Home", toStd(start))));
}

void CHelpViewer::Navigate(const QString& address, int flags, const QString& targetFrame, const QString& headers) {
    if (!(flags & NavigateAtOnce) && loading_) {
        pending_ = true;
        pendingAddress_ = address;
        pendingFrame_ = targetFrame;  // the web view has no named frames to aim at
        return;
    }
    expecting_ = true;
    expectedPart_ = address.left(address.lastIndexOf(QLatin1Char('/')) + 1);
    currentAddress_ = address;
    showAddress(address);
    load(address, headers);
}

void CHelpViewer::load(const QString& address, const QString& headers) {
    const QUrl url = urlOf(address);
    if (headers.isEmpty()) {
        browser_->load(url);
        return;
    }
    QWebEngineHttpRequest request(url);
    for (const QString& line : headers.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const qsizetype colon = line.indexOf(QLatin1Char(':'));
        if (colon > 0)
            request.setHeader(line.left(colon).trimmed().toUtf8(), line.mid(colon + 1).trimmed().toUtf8());
    }
    browser_->load(request);
}

QUrl CHelpViewer::urlOf(const QString& address) {
    if (address.trimmed().isEmpty()) return QUrl(QStringLiteral("about:blank"));
    if (address.startsWith(QLatin1Char('/'))) return QUrl::fromLocalFile(address);
    return QUrl::fromUserInput(address, QDir::currentPath());
}

QString CHelpViewer::displayAddress(const QUrl& url) {
    return url.isLocalFile() ? url.toLocalFile() : url.toString();
}

void CHelpViewer::onLoadingChanged(const QWebEngineLoadingInfo& info) {
    if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus) {
        loading_ = true;
        navigationStarted(info.url());
    } else {
        loading_ = false;
        documentCompleted(info.url());
    }
}

void CHelpViewer::navigationStarted(const QUrl& url) {
    busy_->start();
    startedUrl_ = url;
    // A navigation the program did not ask for: a link the user followed.
    if (!expecting_) {
        expectedPart_ = displayAddress(url);
        expecting_ = true;
    }
}

// The caption names the page shown, also after a link was followed.
void CHelpViewer::onUrlChanged(const QUrl& url) { setTitle(displayAddress(url)); }

void CHelpViewer::documentCompleted(const QUrl& url) {
    lastCompleted_ = displayAddress(url);
    // The address the load began with counts as well: a redirect or an error page must not
    // keep a waiting navigation back for ever.
    auto holdsExpected = [this](const QUrl& address) {
        return displayAddress(address).contains(expectedPart_) || address.toString().contains(expectedPart_);
    };
    if (expecting_ && (holdsExpected(url) || holdsExpected(startedUrl_))) expecting_ = false;
    if (!expecting_ && pending_) {
        expecting_ = true;
        expectedPart_ = pendingAddress_.mid(pendingAddress_.lastIndexOf(QLatin1Char('/')) + 1);
        pending_ = false;
        // The waiting page becomes the current address, as it would have had it not waited.
        currentAddress_ = pendingAddress_;
        load(pendingAddress_);
        return;
    }
    busy_->stop();
    showAddress(lastCompleted_);
    browser_->setZoomFactor(zoomFactor(zoomLevel_));
}

void CHelpViewer::setTitle(const QString& title) {
    document_.setTitle(title);
    frame_.setWindowTitle(title);
}

void CHelpViewer::showAddress(const QString& address) { addressBox_->setEditText(address); }

void CHelpViewer::Home() {
    const std::string home = host_.settings().getText(kSection, "Home", "");
    if (!home.empty()) Navigate(fromStd(home), 0);
}

void CHelpViewer::Go() {
    const QString typed = addressBox_->currentText();
    load(typed);
    if (addressBox_->findText(typed, Qt::MatchExactly | Qt::MatchCaseSensitive) < 0) {
        addressBox_->insertItem(0, typed);
        addressBox_->setEditText(typed);
    }
    currentAddress_ = typed;
}

void CHelpViewer::openListEntry(int index) {
    if (index < 0 || index >= addressBox_->count()) return;
    const QString chosen = addressBox_->itemText(index);
    load(chosen);
    currentAddress_ = chosen;
}

// The edit field lost the focus with a text other than the current address: the list entry of
// that text, when there is one, opens as if chosen from the list.
void CHelpViewer::addressEditEnded() {
    const QString edited = addressBox_->currentText();
    if (edited == currentAddress_) return;
    openListEntry(addressBox_->findText(edited, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

bool CHelpViewer::eventFilter(QObject* watched, QEvent* event) {
    if (watched == addressBox_->lineEdit()) {
        if (event->type() == QEvent::FocusIn) {
            QLineEdit* edit = addressBox_->lineEdit();
            // Begin of edit: no selection, the caret in view.
            QMetaObject::invokeMethod(edit, [edit] { edit->deselect(); edit->end(false); }, Qt::QueuedConnection);
        } else if (event->type() == QEvent::FocusOut &&
                   static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
            addressEditEnded();
        }
    } else if (event->type() == QEvent::ActionAdded) {
        QAction* added = static_cast<QActionEvent*>(event)->action();
        if (added->text() == QLatin1String(kFavoritesTitle)) {
            if (QMenu* barMenu = added->menu<QMenu*>()) {
                auto fill = [this, barMenu] {
                    barMenu->clear();
                    barMenu->addActions(favoritesMenu_->actions());
                };
                fill();
                connect(barMenu, &QMenu::aboutToShow, this, fill);
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CHelpViewer::openFile() {
    QFileDialog dialog(this, QStringLiteral("Open"), QFileInfo(currentAddress_).absolutePath(), text(IDS_HTML_FILTER));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (DialogRunner::run(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    const QString chosen = dialog.selectedFiles().front();
    currentAddress_ = chosen;
    showAddress(chosen);
    load(chosen);
}

void CHelpViewer::openUrl() {
    CFtpParameterDialog dialog(this);
    dialog.caption = QStringLiteral("Open Url");
    dialog.prompt = text(IDS_ADDRESS_LABEL);
    dialog.value = currentAddress_;
    if (DialogRunner::run(dialog) != QDialog::Accepted) return;
    const QString address = dialog.value.trimmed();
    if (!address.isEmpty()) Navigate(address, 0);
}

void CHelpViewer::openFavorite(int command) {
    const int index = command - ID_FAVORITE_FIRST;
    if (index < 0 || index >= favoriteAddresses_.size()) return;
    currentAddress_ = favoriteAddresses_[index];
    showAddress(currentAddress_);
    load(currentAddress_);
}

double CHelpViewer::zoomFactor(int level) {
    static constexpr double factors[] = {0.75, 0.875, 1.0, 1.25, 1.5};
    return factors[std::clamp(level, 0, 4)];
}

void CHelpViewer::setZoomLevel(int level) {
    zoomLevel_ = level;
    browser_->setZoomFactor(zoomFactor(level));
}

void CHelpViewer::RebuildFavorites() {
    for (QMenu* popup : favoritesMenu_->findChildren<QMenu*>(QString(), Qt::FindDirectChildrenOnly)) popup->deleteLater();
    favoritesMenu_->clear();
    favoriteAddresses_.clear();
    const std::string fallback = toStd(QDir::homePath() + QStringLiteral("/Favorites"));
    const std::string folder = FavoritesReader::expandEnvironment(host_.settings().getText(kSection, "Favorites", fallback));
    FavoritesMenu favorites;
    std::vector<std::string> addresses;
    FavoritesReader::FillFavorites(folder, 0, favorites, addresses);
    for (const std::string& address : addresses) favoriteAddresses_.append(fromStd(address));
    fillFavoritesMenu(favoritesMenu_, favorites);
}

void CHelpViewer::fillFavoritesMenu(QMenu* menu, const FavoritesMenu& favorites) {
    auto menuText = [](const std::string& name) { return fromStd(name).replace(QLatin1Char('&'), QStringLiteral("&&")); };
    for (const FavoritesMenu& popup : favorites.popups) fillFavoritesMenu(menu->addMenu(menuText(popup.name)), popup);
    for (const FavoritesMenu::Entry& entry : favorites.entries) {
        QAction* action = menu->addAction(menuText(entry.title));
        const int command = ID_FAVORITE_FIRST + entry.index;
        ControlId::set(action, command);
        // Beyond the last favorite command an entry is shown but cannot be opened.
        action->setEnabled(command <= ID_FAVORITE_LAST);
        connect(action, &QAction::triggered, this, [this, command] { execute(command); });
    }
}

QPrinter& CHelpViewer::printer() {
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

void CHelpViewer::print() {
    QPrintDialog dialog(&printer(), this);
    if (DialogRunner::run(dialog) == QDialog::Accepted) browser_->print(&printer());
}

void CHelpViewer::printPreview() {
    QPrintPreviewDialog preview(&printer(), this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* target) {
        // The preview paints at once; the page prints in the background, so wait for it.
        QEventLoop wait;
        connect(browser_, &QWebEngineView::printFinished, &wait, &QEventLoop::quit);
        browser_->print(target);
        wait.exec();
    });
    DialogRunner::run(preview);
}

void CHelpViewer::printSetup() {
    QPageSetupDialog dialog(&printer(), this);
    DialogRunner::run(dialog);
}
