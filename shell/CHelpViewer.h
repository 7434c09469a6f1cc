#pragma once

#include "framework/ModuleForm.h"
#include "shell/FavoritesReader.h"
#include "shell/HelpBrowserForm.h"

#include <QStringList>
#include <QUrl>
#include <QWidget>

#include <memory>

class BusyIndicator;
class ChildFrame;
class CommandTable;
class Document;
class FormHost;
class QComboBox;
class QMenu;
class QPrinter;
class QToolBar;
class QWebEngineLoadingInfo;
class QWebEngineView;
class StatusBar;

// The Help module: a small web browser in a module window (template 119). A band of browsing
// buttons, a busy indicator and an address box sit above the page, a one-pane status bar below.
// Navigate() is the entry point for every page the program asks for; a request that arrives
// while a page loads waits until that page has completed. The Favorites menu lists the user's
// Internet shortcuts from the folder of setting "Help"/"Favorites".
class CHelpViewer : public QWidget, public ModuleForm, public HelpBrowserForm {
    Q_OBJECT
public:
    // Zoom levels of the Font menu, 0 (smallest) to 4 (largest); 2 is the normal size.
    static constexpr int MediumZoomLevel = 2;
    // Bit 0 of the navigation flags: start at once even while a page loads.
    static constexpr int NavigateAtOnce = 1;

    CHelpViewer(FormHost& host, Document& document, ChildFrame& frame);
    ~CHelpViewer() override;

    static QWidget* create(FormHost& host, Document& document, ChildFrame& frame);

    void initialUpdate(ChildFrame& frame) override;
    void Navigate(const QString& address) override { Navigate(address, 0); }
    void Navigate(const QString& address, int flags, const QString& targetFrame = {}, const QString& headers = {});
    void RebuildFavorites() override;

    QWebEngineView* browser() const { return browser_; }
    QComboBox* addressBox() const { return addressBox_; }
    QToolBar* browseBar() const { return browseBar_; }
    BusyIndicator* busyIndicator() const { return busy_; }
    StatusBar* helpStatusBar() const { return statusBar_; }
    // The Favorites popup, as the toolbar's drop-down and the menu bar show it.
    QMenu* favoritesMenu() const { return favoritesMenu_; }
    const QStringList& favoriteAddresses() const { return favoriteAddresses_; }
    QString currentAddress() const { return currentAddress_; }
    bool isLoading() const { return loading_; }
    bool isPending() const { return pending_; }
    QString pendingAddress() const { return pendingAddress_; }
    bool isExpecting() const { return expecting_; }
    QString lastCompletedAddress() const { return lastCompleted_; }
    int zoomLevel() const { return zoomLevel_; }

    // The zoom factor of a Font menu level.
    static double zoomFactor(int level);
    // The address as the box shows it: a local file as its path, anything else as its URL.
    static QString displayAddress(const QUrl& url);
    // What the web view loads for an address: a path, a file URL or a web address.
    static QUrl urlOf(const QString& address);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createBand(ChildFrame& frame);
    void addButton(int command, int textId, QMenu* dropDown = nullptr);
    void addCommands();
    void load(const QString& address, const QString& headers = {});
    void onLoadingChanged(const QWebEngineLoadingInfo& info);
    void onUrlChanged(const QUrl& url);
    void navigationStarted(const QUrl& url);
    void documentCompleted(const QUrl& url);
    void setTitle(const QString& title);
    void showAddress(const QString& address);
    void Home();
    void Go();
    void openListEntry(int index);
    void addressEditEnded();
    void openFile();
    void openUrl();
    void openFavorite(int command);
    void setZoomLevel(int level);
    void fillFavoritesMenu(QMenu* menu, const FavoritesMenu& favorites);
    void print();
    void printPreview();
    void printSetup();
    QPrinter& printer();

    FormHost& host_;
    Document& document_;
    ChildFrame& frame_;
    CommandTable& commands_;
    QWebEngineView* browser_ = nullptr;
    QToolBar* browseBar_ = nullptr;
    QToolBar* addressBar_ = nullptr;
    QComboBox* addressBox_ = nullptr;
    BusyIndicator* busy_ = nullptr;
    StatusBar* statusBar_ = nullptr;
    QMenu* favoritesMenu_ = nullptr;
    QMenu* fontMenu_ = nullptr;
    std::unique_ptr<QPrinter> printer_;

    QString currentAddress_;
    bool loading_ = false;
    bool pending_ = false;
    QString pendingAddress_;
    QString pendingFrame_;
    bool expecting_ = false;
    QString expectedPart_;
    QUrl startedUrl_;
    QString lastCompleted_;
    int zoomLevel_ = MediumZoomLevel;
    QStringList favoriteAddresses_;
};
