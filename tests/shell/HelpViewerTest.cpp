#include "app/CVyx31App.h"
#include "base/SettingsStore.h"
#include "framework/ChildFrame.h"
#include "resources/ResourceIds.h"
#include "shell/BusyIndicator.h"
#include "shell/CHelpViewer.h"
#include "shell/CMainFrame.h"
#include "support/TempFolder.h"
#include "support/WindowTestApp.h"

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

constexpr int kWaitMs = 30000;
const QString kSourceFolder = QStringLiteral(QUARVEL_SOURCE_DIR "/");

// A web server on 127.0.0.1 that answers every request for a path starting with "/slow" only
// after a delay, and keeps the order in which it answered.
class SlowServer : public QObject {
public:
    SlowServer() {
        server_.listen(QHostAddress::LocalHost);
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { answer(socket); });
        });
    }
    QString url(const QString& path) const { return QStringLiteral("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path); }
    QStringList answered;

private:
    void answer(QTcpSocket* socket) {
        const QByteArray request = socket->readAll();
        const QString path = QString::fromLatin1(request.split(' ').value(1));
        if (path == QLatin1String("/favicon.ico")) return reply(socket, path, 404);
        QTimer::singleShot(path.startsWith(QLatin1String("/slow")) ? 1500 : 0, socket, [this, socket, path] { reply(socket, path, 200); });
    }
    void reply(QTcpSocket* socket, const QString& path, int status) {
        const QByteArray body = "<html><head><title>" + path.toLatin1() + "</title></head><body>" + path.toLatin1() + "</body></html>";
        socket->write("HTTP/1.0 " + QByteArray::number(status) + " X\r\nContent-Type: text/html\r\nContent-Length: " +
                      QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
        socket->disconnectFromHost();
        if (status == 200) answered.append(path);
    }
    QTcpServer server_;
};

class HelpViewerTest : public ::testing::Test {
protected:
    void SetUp() override {
        WindowTestApp::instance();
        WindowTestApp::clearSettings();
        app_ = std::make_unique<CVyx31App>();
        // The pages of the source tree stand for the program folder's.
        app_->settings().writeText("Settings", "AppDir", kSourceFolder.toStdString());
        app_->settings().writeText("Help", "Favorites", favorites_.path());
        ASSERT_TRUE(app_->InitInstance());
    }
    void TearDown() override {
        app_->ExitInstance();
        app_.reset();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    CMainFrame& frame() { return *app_->mainFrame(); }
    CHelpViewer* help() { return dynamic_cast<CHelpViewer*>(app_->form(ModuleId::Help)); }
    // Waits until the page of that address has completed and nothing more loads.
    bool completed(const QString& address) {
        return WindowTestApp::waitUntil([&] { return !help()->isLoading() && !help()->isPending() && help()->lastCompletedAddress() == address; }, kWaitMs);
    }
    // F1 as the frame's accelerator runs it.
    CHelpViewer* openWithF1() {
        QAction* helpAction = frame().commands().action(ID_HELP);
        EXPECT_TRUE(helpAction->shortcuts().contains(QKeySequence(Qt::Key_F1)));
        helpAction->trigger();
        return help();
    }
    void shortcut(const std::string& name, const std::string& url) const {
        const std::filesystem::path path = favorites_.file(name);
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path) << "[InternetShortcut]\nURL=" << url << "\n";
    }

    TempFolder favorites_;
    std::unique_ptr<CVyx31App> app_;
};

// The logging categories of the messages Qt gives while it lives.
class LoggedCategories {
public:
    LoggedCategories() { previous_ = qInstallMessageHandler(&record); }
    ~LoggedCategories() { qInstallMessageHandler(previous_); }
    static inline QStringList categories;

private:
    static void record(QtMsgType, const QMessageLogContext& context, const QString&) {
        categories.append(QString::fromLatin1(context.category ? context.category : ""));
    }
    QtMessageHandler previous_ = nullptr;
};

TEST_F(HelpViewerTest, F1OpensTheStartPageWithItsStyles) {
    frame().show();
    const LoggedCategories logged;
    CHelpViewer* viewer = openWithF1();
    ASSERT_NE(viewer, nullptr);
    const QString start = kSourceFolder + QStringLiteral("hlp/index.htm");
    ASSERT_TRUE(completed(start));
    EXPECT_EQ(viewer->currentAddress(), start);
    EXPECT_EQ(viewer->addressBox()->currentText(), start);
    EXPECT_EQ(frame().childOf(ModuleId::Help)->windowTitle(), start);
    EXPECT_EQ(app_->helpDocument()->title(), start);
    EXPECT_FALSE(viewer->busyIndicator()->isRunning());
    EXPECT_FALSE(LoggedCategories::categories.contains(QStringLiteral("qt.webenginecontext")));
    QString headerColour;
    viewer->browser()->page()->runJavaScript(QStringLiteral("getComputedStyle(document.querySelector('header')).backgroundColor"),
                                             [&](const QVariant& value) { headerColour = value.toString(); });
    ASSERT_TRUE(WindowTestApp::waitUntil([&] { return !headerColour.isEmpty(); }, kWaitMs));
    EXPECT_EQ(headerColour, QStringLiteral("rgb(47, 79, 127)"));  // from help.css

    // ShowHelpPage on the open window navigates it.
    const QString decoderPage = kSourceFolder + QStringLiteral("hlp/decoder.htm");
    frame().ShowHelpPage(decoderPage);
    ASSERT_TRUE(completed(decoderPage));
    EXPECT_EQ(frame().workbook()->subWindowList().size(), 1);
    EXPECT_EQ(viewer->browser()->title(), QStringLiteral("Decoder"));
    EXPECT_TRUE(frame().commands().execute(ID_BROWSE_BACK));
    EXPECT_TRUE(completed(start));
    frame().commands().execute(ID_HELP_CLOSE);
    EXPECT_TRUE(WindowTestApp::waitUntil([&] { return help() == nullptr && app_->helpDocument() == nullptr; }, kWaitMs));
}

TEST_F(HelpViewerTest, ANavigationWhileAPageLoadsWaitsUntilItCompletes) {
    SlowServer server;
    app_->settings().writeText("Help", "Home", server.url("/slow/first").toStdString());
    frame().OpenModuleWindow(ModuleId::Help);
    CHelpViewer* viewer = help();
    ASSERT_TRUE(WindowTestApp::waitUntil([&] { return viewer->isLoading(); }, kWaitMs));
    viewer->Navigate(server.url("/fast"));
    EXPECT_TRUE(viewer->isPending());
    EXPECT_EQ(viewer->pendingAddress(), server.url("/fast"));
    ASSERT_TRUE(completed(server.url("/fast")));
    EXPECT_EQ(server.answered, (QStringList{"/slow/first", "/fast"}));
    EXPECT_EQ(viewer->currentAddress(), server.url("/fast"));

    // With flag bit 0 a navigation starts at once.
    viewer->Navigate(server.url("/slow/second"));
    ASSERT_TRUE(WindowTestApp::waitUntil([&] { return viewer->isLoading(); }, kWaitMs));
    viewer->Navigate(server.url("/now"), CHelpViewer::NavigateAtOnce);
    EXPECT_FALSE(viewer->isPending());
    ASSERT_TRUE(completed(server.url("/now")));
}

TEST_F(HelpViewerTest, AddressBoxListsEachTypedAddressOnceNewestFirst) {
    frame().OpenModuleWindow(ModuleId::Help);
    CHelpViewer* viewer = help();
    ASSERT_TRUE(completed(kSourceFolder + QStringLiteral("hlp/index.htm")));
    QLineEdit* edit = viewer->addressBox()->lineEdit();
    auto enter = [&](const QString& address) {
        edit->setText(address);
        QTest::keyClick(edit, Qt::Key_Return);
        return completed(address);
    };
    const QString player = kSourceFolder + QStringLiteral("hlp/player.htm");
    const QString converter = kSourceFolder + QStringLiteral("hlp/converter.htm");
    ASSERT_TRUE(enter(player));
    ASSERT_TRUE(enter(converter));
    ASSERT_TRUE(enter(player));
    ASSERT_EQ(viewer->addressBox()->count(), 2);
    EXPECT_EQ(viewer->addressBox()->itemText(0), converter);
    EXPECT_EQ(viewer->addressBox()->itemText(1), player);
    EXPECT_EQ(viewer->currentAddress(), player);
    // Choosing an entry of the list opens it.
    viewer->addressBox()->setCurrentIndex(0);
    emit viewer->addressBox()->activated(0);
    EXPECT_TRUE(completed(converter));
}

TEST_F(HelpViewerTest, FontSizesAreZoomLevelsFourToZero) {
    frame().OpenModuleWindow(ModuleId::Help);
    CHelpViewer* viewer = help();
    const struct {
        int command;
        int level;
    } sizes[] = {{ID_FONT_LARGEST, 4}, {ID_FONT_LARGE, 3}, {ID_FONT_MEDIUM, 2}, {ID_FONT_SMALL, 1}, {ID_FONT_SMALLEST, 0}};
    for (const auto& size : sizes) {
        EXPECT_TRUE(frame().commands().execute(size.command));
        EXPECT_EQ(viewer->zoomLevel(), size.level);
        EXPECT_DOUBLE_EQ(viewer->browser()->zoomFactor(), CHelpViewer::zoomFactor(size.level));
    }
    EXPECT_GT(CHelpViewer::zoomFactor(4), CHelpViewer::zoomFactor(2));
    EXPECT_LT(CHelpViewer::zoomFactor(0), CHelpViewer::zoomFactor(2));
    // Search has no handler and stays disabled.
    frame().commands().updateAll();
    EXPECT_FALSE(frame().commands().action(ID_BROWSE_SEARCH)->isEnabled());
}

TEST_F(HelpViewerTest, FavoritesMenuListsTheShortcutsAndOpensThem) {
    const std::string page = (kSourceFolder + QStringLiteral("hlp/converter.htm")).toStdString();
    shortcut("Beta.url", "http://127.0.0.1:9/beta");
    shortcut("alpha.url", "file://" + page);
    shortcut("Site.URL", "http://127.0.0.1:9/upper");
    shortcut("Tools/Gamma.url", "http://127.0.0.1:9/gamma");
    frame().OpenModuleWindow(ModuleId::Help);
    CHelpViewer* viewer = help();
    QStringList texts;
    for (QAction* action : viewer->favoritesMenu()->actions()) texts.append(action->text());
    EXPECT_EQ(texts, (QStringList{"Tools", "alpha", "Beta"}));
    ASSERT_EQ(viewer->favoriteAddresses().size(), 3);
    EXPECT_TRUE(frame().commands().execute(ID_FAVORITE_FIRST));  // alpha
    EXPECT_EQ(viewer->currentAddress(), QString::fromStdString("file://" + page));
    EXPECT_TRUE(completed(QString::fromStdString(page)));
}

// Under a real X server (see help_window_under_xvfb): F1 pressed in the shown program opens the
// start page, and the screen is saved to $QUARVEL_SCREENSHOT_DIR/help.png.
TEST_F(HelpViewerTest, ScreenshotOfF1UnderX) {
    const QByteArray folder = qgetenv("QUARVEL_SCREENSHOT_DIR");
    if (folder.isEmpty() || QGuiApplication::platformName() != QLatin1String("xcb")) GTEST_SKIP() << "needs X and a folder";
    frame().resize(1100, 800);
    frame().show();
    frame().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame()));
    QTest::keyClick(&frame(), Qt::Key_F1);
    ASSERT_NE(help(), nullptr);
    ASSERT_TRUE(completed(kSourceFolder + QStringLiteral("hlp/index.htm")));
    QTest::qWait(500);  // let the compositor put the finished page on the screen
    std::filesystem::create_directories(folder.toStdString());
    EXPECT_TRUE(QGuiApplication::primaryScreen()->grabWindow(0).save(QString::fromLocal8Bit(folder) + QStringLiteral("/help.png")));
}

}  // namespace
