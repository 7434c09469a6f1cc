#include "app/CVyx31App.h"
#include "framework/ChildFrame.h"
#include "resources/ResourceIds.h"
#include "shell/CDirTree.h"
#include "shell/CMainFrame.h"
#include "support/WindowTestApp.h"
#include "support/StandInForms.h"

#include <QAction>
#include <QMdiArea>
#include <QMenuBar>
#include <QPointer>
#include <QToolBar>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

class MainFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        WindowTestApp::instance();
        WindowTestApp::clearSettings();
        std::filesystem::create_directories(WindowTestApp::homeFolder() + "/music");
        app_ = std::make_unique<CVyx31App>();
        ASSERT_TRUE(app_->InitInstance());
        frame_ = app_->mainFrame();
    }

    void TearDown() override { app_->ExitInstance(); }

    // Plugs a stand-in form into the module's template, as a module's own factory would.
    template <typename Form>
    void registerForm(ModuleId module) {
        app_->docTemplate(module).setFormFactory(
            [](FormHost&, Document&, ChildFrame&) -> QWidget* { return new Form(musicFolder()); });
    }

    static QString musicFolder() { return QString::fromStdString(WindowTestApp::homeFolder() + "/music"); }

    QAction* updated(int command) {
        frame_->commands().updateAll();
        return frame_->commands().action(command);
    }

    std::vector<QString> menuTitles() const {
        std::vector<QString> titles;
        for (QAction* action : frame_->menuBar()->actions()) titles.push_back(action->text());
        return titles;
    }

    std::unique_ptr<CVyx31App> app_;
    CMainFrame* frame_ = nullptr;
};

}  // namespace

TEST_F(MainFrameTest, ChoosingAModuleTwiceLeavesOneTabWithIconTitleAndTheModuleMenu) {
    registerForm<StandInForm>(ModuleId::Decoder);
    EXPECT_EQ(menuTitles().front(), QStringLiteral("&File"));
    EXPECT_EQ(menuTitles().size(), 4u);

    EXPECT_TRUE(frame_->commands().execute(ID_DECODER));
    EXPECT_TRUE(frame_->commands().execute(ID_DECODER));
    ASSERT_EQ(frame_->workbook()->subWindowList().size(), 1);
    ChildFrame* child = frame_->childOf(ModuleId::Decoder);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->windowTitle(), QStringLiteral("Decoder"));
    EXPECT_EQ(child->document().title(), QStringLiteral("Decoder"));
    EXPECT_FALSE(child->windowIcon().isNull());
    EXPECT_EQ(frame_->windowTitle(), QStringLiteral("Quarvel 3.1 - Decoder"));
    EXPECT_EQ(app_->form(ModuleId::Decoder), child->form());
    // The module menu: File, Edit, View, Action, Help.
    EXPECT_EQ(menuTitles().size(), 5u);
    EXPECT_EQ(menuTitles()[1], QStringLiteral("&Edit"));

    // A folder-handling module gets its folder selected in the tree and handed over.
    auto* form = static_cast<StandInForm*>(child->form());
    ASSERT_FALSE(form->received.isEmpty());
    EXPECT_EQ(form->received.back(), musicFolder());
    EXPECT_EQ(CDirTree::pathOf(frame_->dirTree()->tree()->currentItem()), musicFolder());
}

TEST_F(MainFrameTest, AModuleWithoutAFormDoesNotOpen) {
    app_->docTemplate(ModuleId::Encoder).setFormFactory({});
    EXPECT_TRUE(frame_->commands().execute(ID_ENCODER));
    EXPECT_TRUE(frame_->workbook()->subWindowList().isEmpty());
    EXPECT_EQ(app_->form(ModuleId::Encoder), nullptr);
    // The frame menu's Decode entry opens the Decoder, when it has a form.
    registerForm<StandInForm>(ModuleId::Decoder);
    EXPECT_TRUE(frame_->commands().execute(ID_DECODE));
    EXPECT_NE(frame_->childOf(ModuleId::Decoder), nullptr);
}

TEST_F(MainFrameTest, ClosingAModuleWindowReturnsToTheFrameMenuAndAllowsANewWindow) {
    registerForm<StandInForm>(ModuleId::Converter);
    frame_->OpenModuleWindow(ModuleId::Converter);
    EXPECT_EQ(frame_->windowTitle(), QStringLiteral("Quarvel 3.1 - WAV / MP3 Converter"));
    EXPECT_TRUE(frame_->commands().execute(ID_FILE_CLOSE));
    EXPECT_TRUE(WindowTestApp::waitUntil([&] { return app_->form(ModuleId::Converter) == nullptr; }, 2000));
    EXPECT_EQ(menuTitles().size(), 4u);
    EXPECT_EQ(frame_->windowTitle(), QStringLiteral("Quarvel 3.1"));
    frame_->OpenModuleWindow(ModuleId::Converter);
    EXPECT_EQ(frame_->workbook()->subWindowList().size(), 1);
}

TEST_F(MainFrameTest, DirectoryTreeCheckMarkFollowsTheBarHoweverItsVisibilityChanged) {
    EXPECT_TRUE(updated(ID_VIEW_DIRTREE)->isChecked());
    frame_->dirTree()->close();  // the bar's own close box
    EXPECT_FALSE(updated(ID_VIEW_DIRTREE)->isChecked());
    frame_->commands().execute(ID_VIEW_DIRTREE);
    EXPECT_TRUE(frame_->dirTree()->isVisible());
    EXPECT_TRUE(updated(ID_VIEW_DIRTREE)->isChecked());
    frame_->commands().execute(ID_VIEW_DIRTREE);
    EXPECT_FALSE(frame_->dirTree()->isVisible());
    EXPECT_FALSE(updated(ID_VIEW_DIRTREE)->isChecked());

    frame_->mainToolBar()->hide();
    EXPECT_FALSE(updated(ID_VIEW_TOOLBAR)->isChecked());
    EXPECT_TRUE(updated(ID_VIEW_STATUS_BAR)->isChecked());
}

TEST_F(MainFrameTest, FtpIsEnabledEverywhereAndUnhandledCommandsAreDisabled) {
    registerForm<StandInForm>(ModuleId::Decoder);
    for (int round = 0; round < 2; ++round) {
        EXPECT_TRUE(updated(ID_FTP)->isEnabled()); // the application opens the Upload window
        EXPECT_FALSE(frame_->commands().execute(ID_BROWSE_BACK));
        EXPECT_FALSE(updated(ID_BROWSE_BACK)->isEnabled());
        EXPECT_FALSE(updated(ID_START_CONVERT)->isEnabled());
        EXPECT_TRUE(updated(ID_DECODER)->isEnabled());
        EXPECT_TRUE(updated(ID_APP_ABOUT)->isEnabled());
        frame_->OpenModuleWindow(ModuleId::Decoder);  // the second round with a module window active
    }
    // Close is handled by the active module window only.
    EXPECT_TRUE(updated(ID_FILE_CLOSE)->isEnabled());
    // The toolbar shows FTP.
    EXPECT_TRUE(frame_->mainToolBar()->actions().contains(frame_->commands().action(ID_FTP)));
}

TEST_F(MainFrameTest, ExitWhilePlayingWaitsForTimer1112AndClosesOnceThePlayerStopped) {
    registerForm<StandInPlayer>(ModuleId::Player);
    frame_->OpenModuleWindow(ModuleId::Player);
    auto* player = dynamic_cast<StandInPlayer*>(app_->form(ModuleId::Player));
    ASSERT_NE(player, nullptr);

    frame_->commands().execute(ID_APP_EXIT);
    EXPECT_EQ(player->closeRequests, 1);
    EXPECT_TRUE(frame_->isVisible());
    EXPECT_TRUE(frame_->isWaitingForPlayer());
    WindowTestApp::waitUntil([] { return false; }, 1300);
    EXPECT_TRUE(frame_->isVisible()) << "the frame must wait while the player plays";

    player->stop();
    EXPECT_TRUE(WindowTestApp::waitUntil([&] { return !frame_->isVisible(); }, 2500));
    EXPECT_FALSE(frame_->isWaitingForPlayer());
}

TEST_F(MainFrameTest, ExitWithAStoppedPlayerClosesAtOnce) {
    registerForm<StandInPlayer>(ModuleId::Player);
    frame_->OpenModuleWindow(ModuleId::Player);
    auto* player = dynamic_cast<StandInPlayer*>(app_->form(ModuleId::Player));
    ASSERT_NE(player, nullptr);
    player->stopped = true;
    frame_->commands().execute(ID_APP_EXIT);
    EXPECT_FALSE(frame_->isVisible());
    EXPECT_EQ(player->closeRequests, 0);
}

TEST_F(MainFrameTest, ThePlayersCloseBoxAsksThePlayerToStopInsteadOfClosing) {
    registerForm<StandInPlayer>(ModuleId::Player);
    registerForm<StandInForm>(ModuleId::Decoder);
    frame_->OpenModuleWindow(ModuleId::Player);
    QPointer<ChildFrame> child = frame_->childOf(ModuleId::Player);
    auto* player = dynamic_cast<StandInPlayer*>(child->form());
    child->close();
    EXPECT_EQ(player->closeRequests, 1);
    WindowTestApp::waitUntil([] { return false; }, 50);
    ASSERT_TRUE(child);
    EXPECT_EQ(frame_->workbook()->subWindowList().size(), 1);
    player->stop();
    EXPECT_TRUE(WindowTestApp::waitUntil([&] { return child.isNull(); }, 2000));

    // Any other module window closes from its close box.
    frame_->OpenModuleWindow(ModuleId::Decoder);
    QPointer<ChildFrame> decoder = frame_->childOf(ModuleId::Decoder);
    decoder->close();
    EXPECT_TRUE(WindowTestApp::waitUntil([&] { return decoder.isNull(); }, 2000));
}

TEST_F(MainFrameTest, ActivatingAFolderFormSelectsItsFolderInTheTree) {
    std::filesystem::create_directories(WindowTestApp::homeFolder() + "/music/rock");
    registerForm<StandInForm>(ModuleId::Decoder);
    registerForm<StandInForm>(ModuleId::Converter);
    frame_->OpenModuleWindow(ModuleId::Decoder);
    static_cast<StandInForm*>(app_->form(ModuleId::Decoder))->setCurrentFolder(musicFolder() + "/rock");
    frame_->OpenModuleWindow(ModuleId::Converter);
    EXPECT_EQ(frame_->dirTree()->currentPath(), musicFolder());
    frame_->OpenModuleWindow(ModuleId::Decoder);  // activates the existing window
    EXPECT_EQ(frame_->dirTree()->currentPath(), musicFolder() + "/rock");
}

TEST_F(MainFrameTest, ShowHelpPageOpensOrActivatesTheHelpWindowAndNavigatesIt) {
    app_->docTemplate(ModuleId::Help).setFormFactory([](FormHost&, Document&, ChildFrame&) -> QWidget* { return new StandInHelp; });
    registerForm<StandInForm>(ModuleId::Decoder);
    const QString page = app_->programFolder() + QStringLiteral("hlp/decoder.htm");
    frame_->ShowHelpPage(page);
    auto* help = dynamic_cast<StandInHelp*>(app_->form(ModuleId::Help));
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->pages, QStringList{page});
    EXPECT_EQ(help->favoritesRebuilt, 1);
    EXPECT_EQ(app_->helpDocument(), &frame_->childOf(ModuleId::Help)->document());
    EXPECT_EQ(frame_->windowTitle(), QStringLiteral("Quarvel 3.1 - Help"));

    frame_->OpenModuleWindow(ModuleId::Decoder);
    const QString selectedBefore = frame_->dirTree()->currentPath();
    frame_->commands().execute(ID_HELP);  // F1: activates the open Help window
    frame_->ShowHelpPage(QStringLiteral("http://127.0.0.1/"));
    EXPECT_EQ(frame_->workbook()->subWindowList().size(), 2);
    EXPECT_EQ(frame_->activeChild(), frame_->childOf(ModuleId::Help));
    EXPECT_EQ(help->pages, (QStringList{page, QStringLiteral("http://127.0.0.1/")}));
    EXPECT_EQ(help->favoritesRebuilt, 1);
    EXPECT_EQ(frame_->dirTree()->currentPath(), selectedBefore);  // Help selects no folder
}
