#include "app/CVyx31App.h"
#include "base/ProgramFolder.h"
#include "framework/ControlBar.h"
#include "framework/ControlId.h"
#include "framework/StatusBar.h"
#include "resources/ResourceIds.h"
#include "shell/CDirTree.h"
#include "shell/CMainFrame.h"
#include "support/WindowTestApp.h"

#include <QApplication>
#include <QMdiArea>
#include <QSettings>
#include <QToolBar>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

class CVyx31AppTest : public ::testing::Test {
protected:
    void SetUp() override {
        WindowTestApp::instance();
        WindowTestApp::clearSettings();
    }

    static QString stored(const char* key) {
        QSettings settings(QStringLiteral("OzmoMp3s"), QStringLiteral("vyx31"));
        return settings.value(QLatin1String(key)).toString();
    }

    static void store(const char* key, const QString& value) {
        QSettings settings(QStringLiteral("OzmoMp3s"), QStringLiteral("vyx31"));
        settings.setValue(QLatin1String(key), value);
        settings.sync();
    }
};

}  // namespace

TEST_F(CVyx31AppTest, FirstStartWritesProgramFolderAndHelpHomeIntoTheSettingsFile) {
    CVyx31App app;
    ASSERT_TRUE(app.InitInstance());
    const QString programFolder = QString::fromStdString(ProgramFolder::current()) + QLatin1Char('/');
    EXPECT_EQ(stored("Settings/AppDir"), programFolder);
    EXPECT_EQ(stored("Help/Home"), programFolder + QStringLiteral("hlp/index.htm"));
    EXPECT_EQ(app.programFolder(), programFolder);
    EXPECT_EQ(app.settingsFileName().toStdString(), WindowTestApp::settingsFile());
    app.ExitInstance();
}

TEST_F(CVyx31AppTest, EditedProgramFolderMovesTheHelpHomeDefaultButNotAStoredHome) {
    store("Settings/AppDir", QStringLiteral("/opt/elsewhere"));
    {
        CVyx31App app;
        ASSERT_TRUE(app.InitInstance());
        EXPECT_EQ(app.programFolder(), QStringLiteral("/opt/elsewhere/"));
        EXPECT_EQ(stored("Help/Home"), QStringLiteral("/opt/elsewhere/hlp/index.htm"));
        app.ExitInstance();
    }
    store("Settings/AppDir", QStringLiteral("/srv/other/"));
    CVyx31App app;
    ASSERT_TRUE(app.InitInstance());
    EXPECT_EQ(stored("Settings/AppDir"), QStringLiteral("/srv/other/"));
    EXPECT_EQ(app.helpHome(), QStringLiteral("/opt/elsewhere/hlp/index.htm"));
    app.ExitInstance();
}

TEST_F(CVyx31AppTest, StartUpShowsTheMainFrameWithItsBarsAndNoModuleWindow) {
    CVyx31App app;
    ASSERT_TRUE(app.InitInstance());
    CMainFrame* frame = app.mainFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Quarvel 3.1"));
    EXPECT_EQ(frame->size(), QSize(1000, 700));
    EXPECT_TRUE(frame->workbook()->subWindowList().isEmpty());
    EXPECT_EQ(frame->workbook()->viewMode(), QMdiArea::TabbedView);

    auto* toolBar = ControlId::find<QToolBar>(frame, AFX_IDW_TOOLBAR);
    ASSERT_NE(toolBar, nullptr);
    EXPECT_EQ(frame->toolBarArea(toolBar), Qt::TopToolBarArea);
    auto* statusBar = ControlId::find<StatusBar>(frame, AFX_IDW_STATUS_BAR);
    ASSERT_NE(statusBar, nullptr);
    EXPECT_EQ(statusBar->paneCount(), 4);
    EXPECT_EQ(statusBar->paneText(0), QStringLiteral("For Help, press F1"));
    EXPECT_EQ(statusBar->paneText(1), QStringLiteral("CAP"));
    EXPECT_EQ(statusBar->paneText(3), QStringLiteral("SCRL"));

    CDirTree* tree = frame->dirTree();
    EXPECT_EQ(tree->barId(), 100);
    EXPECT_EQ(tree->windowTitle(), QStringLiteral("Folders"));
    EXPECT_EQ(frame->dockWidgetArea(tree), Qt::LeftDockWidgetArea);
    EXPECT_EQ(tree->allowedAreas(), Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    EXPECT_EQ(tree->tree()->currentItem(), nullptr);
    EXPECT_EQ(ControlBar::firstFreeBarId(frame), 101);
    app.ExitInstance();
}

TEST_F(CVyx31AppTest, AboutCommandRunsTheAboutBox) {
    CVyx31App app;
    ASSERT_TRUE(app.InitInstance());
    DialogAnswers answers({DialogAnswers::accept});
    EXPECT_TRUE(app.mainFrame()->commands().execute(ID_APP_ABOUT));
    ASSERT_EQ(answers.seen().size(), 1u);
    EXPECT_EQ(answers.seen()[0].title, QStringLiteral("About VYX"));
    app.ExitInstance();
}
