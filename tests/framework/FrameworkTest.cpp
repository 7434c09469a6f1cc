#include "framework/BrowseEdit.h"
#include "framework/ChildFrame.h"
#include "framework/DocTemplate.h"
#include "framework/CommandTable.h"
#include "framework/FormHost.h"
#include "framework/CommandTarget.h"
#include "framework/ControlBar.h"
#include "framework/ControlId.h"
#include "framework/MenuBuilder.h"
#include "framework/StatusBar.h"
#include "resources/ResourceIds.h"
#include "support/WindowTestApp.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QPointer>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class FrameworkTest : public ::testing::Test {
protected:
    void SetUp() override { WindowTestApp::instance(); }
};

// A host that the forms of these tests never ask anything of.
class UnusedHost : public FormHost {
public:
    SettingsStore& settings() override { std::abort(); }
    QString programFolder() const override { return {}; }
    QFileIconProvider& iconProvider() override { std::abort(); }
    void ShowHelpPage(const QString&) override {}
    bool SelectFolder(const QString&) override { return false; }
};

}  // namespace

TEST_F(FrameworkTest, CommandsGoToTheFirstTargetOfTheChainThatHandlesThem) {
    CommandTarget form, child, frame;
    std::vector<std::string> ran;
    form.addCommand(ID_HELP, [&] { ran.push_back("form help"); });
    frame.addCommand(ID_HELP, [&] { ran.push_back("frame help"); });
    frame.addCommand(ID_DECODER, [&] { ran.push_back("frame decoder"); });
    child.addCommand(ID_FTP, [&] { ran.push_back("ftp"); }, [](CommandState& state) { state.enabled = false; });
    frame.addCommand(ID_VIEW_DIRTREE, [] {}, [](CommandState& state) {
        state.checkable = true;
        state.checked = true;
    });

    CommandTable table;
    table.router().setChain([&] { return std::vector<CommandTarget*>{&form, &child, &frame}; });
    EXPECT_TRUE(table.execute(ID_HELP));
    EXPECT_TRUE(table.execute(ID_DECODER));
    EXPECT_TRUE(table.execute(ID_FTP));  // handled, but disabled: it does not run
    EXPECT_FALSE(table.execute(ID_BROWSE_BACK));
    EXPECT_EQ(ran, (std::vector<std::string>{"form help", "frame decoder"}));

    table.updateAll();
    EXPECT_TRUE(table.action(ID_HELP)->isEnabled());
    EXPECT_FALSE(table.action(ID_FTP)->isEnabled());
    EXPECT_FALSE(table.action(ID_BROWSE_BACK)->isEnabled());
    EXPECT_TRUE(table.action(ID_VIEW_DIRTREE)->isChecked());

    // Texts, prompts and keys come from the resource tables.
    EXPECT_EQ(table.action(ID_VIEW_DIRTREE)->text(), QStringLiteral("&Directory Tree"));
    EXPECT_EQ(table.action(ID_VIEW_DIRTREE)->statusTip(), QStringLiteral("Show or hide the directory tree"));
    EXPECT_EQ(table.action(ID_VIEW_DIRTREE)->toolTip(), QStringLiteral("Toggle Directory Tree"));
    QWidget window;
    table.installAccelerators(&window, IDR_MAINFRAME);
    EXPECT_EQ(table.action(ID_EDIT_PASTE)->shortcuts(),
              (QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+V")), QKeySequence(QStringLiteral("Shift+Ins"))}));
}

TEST_F(FrameworkTest, MenusShareActionsAndAnIdWithTwoTextsKeepsBoth) {
    CommandTable table;
    CommandTarget player;
    table.router().setChain([&] { return std::vector<CommandTarget*>{&player}; });
    player.addCommand(ID_PLAYER_PAUSE, [] {});
    table.action(ID_DIR_REFRESH);  // the same id as Pause: the window menu names it, not the tree
    QMenuBar bar;
    MenuBuilder::fillMenuBar(&bar, IDR_PLAYER, table);
    // The entries of the command in the bar's menus, whoever owns them.
    QList<QAction*> entries;
    for (QMenu* menu : bar.findChildren<QMenu*>())
        for (QAction* entry : menu->actions())
            if (ControlId::of(entry) == ID_PLAYER_PAUSE) entries.append(entry);
    ASSERT_FALSE(entries.isEmpty());
    bool hasPauseText = false;
    for (QAction* entry : entries) hasPauseText = hasPauseText || entry->text() == QStringLiteral("P&ause");
    EXPECT_TRUE(hasPauseText);
    table.updateAll();
    for (QAction* entry : entries) EXPECT_TRUE(entry->isEnabled());
}

TEST_F(FrameworkTest, ControlBarsTakeTheFirstFreeIdFrom100) {
    QMainWindow frame;
    auto* first = new ControlBar(QStringLiteral("one"), &frame, Qt::LeftDockWidgetArea);
    auto* second = new ControlBar(QStringLiteral("two"), &frame, Qt::AllDockWidgetAreas);
    EXPECT_EQ(first->barId(), 100);
    EXPECT_EQ(second->barId(), 101);
    EXPECT_EQ(ControlId::find<ControlBar>(&frame, 101), second);
    EXPECT_EQ(first->allowedAreas(), Qt::LeftDockWidgetArea);
    delete first;
    EXPECT_EQ(ControlBar::firstFreeBarId(&frame), 100);
}

TEST_F(FrameworkTest, StatusBarPanesAndIdleText) {
    StatusBar bar(AFX_IDW_STATUS_BAR, QStringLiteral("For Help, press F1"), {"CAP", "NUM", "SCRL"});
    EXPECT_EQ(bar.paneCount(), 4);
    EXPECT_EQ(bar.paneText(0), QStringLiteral("For Help, press F1"));
    bar.showMessage(QStringLiteral("MP3 Player"));
    EXPECT_EQ(bar.paneText(0), QStringLiteral("MP3 Player"));
    bar.clearMessage();
    EXPECT_EQ(bar.paneText(0), QStringLiteral("For Help, press F1"));
    bar.setPaneLit(1, false);
    EXPECT_FALSE(bar.isPaneLit(1));
    EXPECT_EQ(bar.paneText(4), QString());
}

TEST_F(FrameworkTest, AMessageTakesOneLineOfThePaneWithTheWholeTextInItsTooltip) {
    QMainWindow window;
    auto* bar = new StatusBar(AFX_IDW_STATUS_BAR, QStringLiteral("Ready"), {QStringLiteral("STOPPED")}, &window);
    window.setStatusBar(bar);
    window.resize(420, 200);
    window.show();
    QApplication::processEvents();
    const int height = bar->sizeHint().height();
    const int narrowest = window.minimumSizeHint().width();
    QString error = QStringLiteral("Command 8 failed\n[the input cannot be opened]\n");
    for (int i = 0; i < 12; ++i) error += QStringLiteral("/a/rather/long/folder/name/%1\n").arg(i);
    bar->setPaneText(0, error);
    QApplication::processEvents();

    EXPECT_EQ(bar->paneText(0), error);
    QLabel* pane = nullptr;
    for (QLabel* label : bar->findChildren<QLabel*>())
        if (label->toolTip() == error) pane = label;
    ASSERT_NE(pane, nullptr);
    EXPECT_FALSE(pane->text().contains(QLatin1Char('\n')));
    EXPECT_TRUE(pane->text().startsWith(QStringLiteral("Command 8 failed [the input cannot be opened]")));
    EXPECT_EQ(bar->sizeHint().height(), height);
    EXPECT_EQ(window.minimumSizeHint().width(), narrowest);

    // A short one-line message needs no tooltip.
    bar->setPaneText(0, QStringLiteral("Ready"));
    EXPECT_EQ(pane->text(), QStringLiteral("Ready"));
    EXPECT_TRUE(pane->toolTip().isEmpty());
}

TEST_F(FrameworkTest, BrowseEditOpensSelectDirectoryAtItsTextAndTakesTheChoice) {
    BrowseEdit edit(1061);
    edit.setText(QStringLiteral("/tmp"));
    EXPECT_EQ(ControlId::find<QLineEdit>(&edit, 1061), edit.edit());
    QString startedAt;
    DialogAnswers answers({[&](QDialog& dialog) {
                               auto& files = dynamic_cast<QFileDialog&>(dialog);
                               startedAt = files.directory().absolutePath();
                               files.selectFile(QStringLiteral("/usr"));
                               return DialogAnswers::accept(dialog);
                           },
                           DialogAnswers::reject});
    edit.browseButton()->click();
    EXPECT_EQ(answers.seen()[0].title, QStringLiteral("Select Directory"));
    EXPECT_EQ(startedAt, QStringLiteral("/tmp"));
    EXPECT_EQ(edit.text(), QStringLiteral("/usr"));
    edit.browseButton()->click();  // cancelled: the text stays
    EXPECT_EQ(edit.text(), QStringLiteral("/usr"));
}

TEST_F(FrameworkTest, ChildFramesCarryTheirOwnToolbarAndStatusBarAndCloseOnTheCloseCommand) {
    CommandTable table;
    UnusedHost host;
    DocTemplate encoder(IDR_ENCODER, QStringLiteral("Encoder"), [] { return std::make_unique<Document>(); }, host);
    EXPECT_FALSE(encoder.hasForm());
    QWidget* noForm = nullptr;
    auto document = encoder.createDocument();
    ASSERT_NE(document, nullptr);
    auto* child = new ChildFrame(encoder, std::move(document), table);
    EXPECT_EQ(encoder.createForm(child->document(), *child), noForm);
    child->setForm(new QWidget);

    QToolBar* bar = child->addToolBar(IDR_ENCODER, AFX_IDW_TOOLBAR);
    int buttons = 0;
    for (QAction* action : bar->actions()) buttons += action->isSeparator() ? 0 : 1;
    EXPECT_EQ(buttons, 7);
    EXPECT_EQ(bar->iconSize(), QSize(32, 32));
    StatusBar* status = child->addStatusBar({QStringLiteral("Ready")});
    EXPECT_EQ(status->paneCount(), 2);
    EXPECT_EQ(ControlId::find<StatusBar>(child, AFX_IDW_STATUS_BAR), status);
    EXPECT_FALSE(child->windowIcon().isNull());

    QPointer<ChildFrame> alive(child);
    table.router().setChain([&] { return std::vector<CommandTarget*>{child}; });
    EXPECT_TRUE(table.execute(ID_FILE_CLOSE));
    EXPECT_TRUE(WindowTestApp::waitUntil([&] { return alive.isNull(); }, 2000));
}

TEST_F(FrameworkTest, TheTemplateHandsTheFormItsHostAndKeepsItUntilTheFrameGoes) {
    CommandTable table;
    UnusedHost host;
    DocTemplate player(IDR_PLAYER, QStringLiteral("Player"), [] { return std::make_unique<Document>(); }, host);
    FormHost* handed = nullptr;
    player.setFormFactory([&handed](FormHost& given, Document&, ChildFrame&) {
        handed = &given;
        return new QWidget;
    });
    auto* child = new ChildFrame(player, player.createDocument(), table);
    QWidget* form = player.createForm(child->document(), *child);
    child->setForm(form);
    EXPECT_EQ(handed, &host);
    EXPECT_EQ(player.form(), form);
    EXPECT_EQ(player.document(), &child->document());

    child->closeWithoutAsking();
    EXPECT_TRUE(WindowTestApp::waitUntil([&] { return player.form() == nullptr; }, 2000));
    EXPECT_EQ(player.document(), nullptr);
}
