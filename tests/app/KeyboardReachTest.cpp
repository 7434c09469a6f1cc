// The real module forms from the keyboard's side: F6 and Shift+F6 between the folder tree, the
// file list and the fields, Enter in a file list, the form keys against the keys that text
// fields keep for themselves, accessible names, and the main window's remembered place.
#include "app/CVyx31App.h"
#include "framework/ChildFrame.h"
#include "framework/ControlId.h"
#include "resources/AcceleratorTable.h"
#include "resources/ResourceIds.h"
#include "shell/CDirList.h"
#include "shell/CDirTree.h"
#include "shell/CMainFrame.h"
#include "shell/FrameGeometry.h"
#include "splitjoin/forms/CEncodeView.h"
#include "support/FileBytes.h"
#include "support/WindowTestApp.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

class KeyboardReachTest : public ::testing::Test {
protected:
    void SetUp() override {
        WindowTestApp::instance();
        WindowTestApp::clearSettings();
        start();
    }
    void TearDown() override { app_->ExitInstance(); }

    void start() {
        app_ = std::make_unique<CVyx31App>();
        ASSERT_TRUE(app_->InitInstance());
        frame_ = app_->mainFrame();
        QApplication::setActiveWindow(frame_);
    }

    // F6 or Shift+F6 where the focus is; answers where the focus went.
    QWidget* pane(Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : frame_;
        QTest::keyClick(target, Qt::Key_F6, modifiers);
        return QApplication::focusWidget();
    }

    std::unique_ptr<CVyx31App> app_;
    CMainFrame* frame_ = nullptr;
};

}  // namespace

TEST_F(KeyboardReachTest, F6AndShiftF6GoRoundTreeFileListAndFields) {
    frame_->commands().execute(ID_ENCODER);
    QWidget* form = app_->form(ModuleId::Encoder);
    ASSERT_NE(form, nullptr);
    QWidget* tree = frame_->dirTree()->tree();
    QWidget* list = form->findChild<CDirList*>();
    QWidget* firstField = ControlId::find<QLineEdit>(form, 1033);

    ControlId::find<QLineEdit>(form, 1036)->setFocus();  // a field deep in the form
    EXPECT_EQ(pane(), tree);
    EXPECT_EQ(pane(), list);
    EXPECT_EQ(pane(), firstField);
    EXPECT_EQ(pane(), tree);
    EXPECT_EQ(pane(Qt::ShiftModifier), firstField);
    EXPECT_EQ(pane(Qt::ShiftModifier), list);
    EXPECT_EQ(pane(Qt::ShiftModifier), tree);

    // The Help window has no file list: tree and page.
    frame_->commands().execute(ID_HELP);
    QWidget* help = app_->form(ModuleId::Help);
    ASSERT_NE(help, nullptr);
    tree->setFocus();
    QWidget* helpPane = pane();
    ASSERT_NE(helpPane, nullptr);
    EXPECT_TRUE(help->isAncestorOf(helpPane));
    EXPECT_EQ(pane(), tree);

    // Between the module windows the keyboard goes with Ctrl+Tab.
    helpPane->setFocus();
    QTest::keyClick(helpPane, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(frame_->activeChild(), frame_->childOf(ModuleId::Encoder));
}

TEST_F(KeyboardReachTest, EnterInTheEncodersListSplitsTheCurrentRowAndKeepsEditedFields) {
    const std::string folder = WindowTestApp::homeFolder() + "/enter", parts = folder + "/parts";
    std::filesystem::create_directories(parts);
    FileBytes::write(folder + "/a.bin", FileBytes::pattern(2000, 3));
    FileBytes::write(folder + "/b.bin", FileBytes::pattern(3000, 4));
    frame_->commands().execute(ID_ENCODER);
    auto* encoder = dynamic_cast<CEncodeView*>(app_->form(ModuleId::Encoder));
    ASSERT_NE(encoder, nullptr);
    ASSERT_NE(frame_->SelectFolder(QString::fromStdString(folder)), nullptr);
    CDirList* list = encoder->fileList();
    list->setFocus();
    list->setCurrentItem(list->findItems(QStringLiteral("b.bin"), Qt::MatchExactly).value(0));
    // Space picks the row as a click does; a name typed afterwards survives the Enter.
    QTest::keyClick(list, Qt::Key_Space);
    EXPECT_EQ(ControlId::find<QLineEdit>(encoder, 1042)->text(), QStringLiteral("b00.ppt"));
    ControlId::find<QLineEdit>(encoder, 1042)->setText(QStringLiteral("mine00.ppt"));
    ControlId::find<QLineEdit>(encoder, 1043)->setText(QString::fromStdString(parts));
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_TRUE(FileBytes::exists(parts + "/mine00.ppt"));
    EXPECT_FALSE(FileBytes::exists(parts + "/b00.ppt"));
}

// A form key must work from the fields and must not take a text field's own editing key: a key
// the field claims never runs the command, and a key the window takes first (Ctrl+Del deleting
// files instead of a word) surprises whoever types. The editing keys are the platform's.
TEST_F(KeyboardReachTest, FormKeysAreNotKeysThatTextFieldsKeep) {
    const int formCommands[] = {ID_SPLIT, ID_SHOW_PAGE, ID_DECODE, IDC_GET_KEY, IDC_PLAY, ID_PLAYER_PAUSE, IDC_STOP,
                                ID_PLAYLIST_ADD_URL, ID_START_CONVERT, ID_LIST_RENAME, ID_LIST_REFRESH, ID_LIST_DELETE};
    const QKeySequence::StandardKey editing[] = {
        QKeySequence::Delete, QKeySequence::Backspace, QKeySequence::Cut, QKeySequence::Copy, QKeySequence::Paste,
        QKeySequence::Undo, QKeySequence::Redo, QKeySequence::SelectAll, QKeySequence::Deselect,
        QKeySequence::DeleteEndOfWord, QKeySequence::DeleteStartOfWord, QKeySequence::DeleteEndOfLine,
        QKeySequence::DeleteCompleteLine, QKeySequence::MoveToNextChar, QKeySequence::MoveToPreviousChar,
        QKeySequence::MoveToNextWord, QKeySequence::MoveToPreviousWord, QKeySequence::MoveToStartOfLine,
        QKeySequence::MoveToEndOfLine, QKeySequence::MoveToStartOfDocument, QKeySequence::MoveToEndOfDocument,
        QKeySequence::SelectNextWord, QKeySequence::SelectPreviousWord, QKeySequence::SelectStartOfLine,
        QKeySequence::SelectEndOfLine, QKeySequence::SelectStartOfDocument, QKeySequence::SelectEndOfDocument};
    QLineEdit field(QStringLiteral("some words here"));
    field.setCursorPosition(6);
    for (const int command : formCommands) {
        for (const std::string& keys : AcceleratorTable::keysOf(IDR_MAINFRAME, command)) {
            const QKeySequence sequence(QString::fromStdString(keys));
            const QKeyCombination key = sequence[0];
            QKeyEvent asked(QEvent::ShortcutOverride, key.key(), key.keyboardModifiers());
            asked.ignore();
            QApplication::sendEvent(&field, &asked);
            EXPECT_FALSE(asked.isAccepted()) << keys << " of command " << command << " is kept by text fields";
            for (const QKeySequence::StandardKey standard : editing)
                EXPECT_FALSE(QKeySequence::keyBindings(standard).contains(sequence))
                    << keys << " of command " << command << " is the editing key " << standard;
        }
    }
    // And the key reaches the form from inside a field.
    DialogAnswers noDialogs;
    frame_->commands().execute(ID_DECODER);
    QWidget* decoder = app_->form(ModuleId::Decoder);
    ASSERT_NE(decoder, nullptr);
    auto* outputName = ControlId::find<QLineEdit>(decoder, 1014);
    outputName->setFocus();
    frame_->commands().updateAll();
    EXPECT_FALSE(frame_->commands().action(ID_DECODE)->isEnabled());  // nothing picked yet
    outputName->setText(QStringLiteral("x.bin"));
    frame_->commands().updateAll();
    QObject::connect(frame_->commands().action(ID_DECODE), &QAction::triggered, outputName,
                     [outputName] { outputName->setProperty("decodeRan", true); });
    QTest::keyClick(outputName, Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(outputName->property("decodeRan").toBool());
    EXPECT_EQ(outputName->text(), QStringLiteral("x.bin"));
}

TEST_F(KeyboardReachTest, EveryControlOfEveryModuleHasAnAccessibleName) {
    for (const int command : {ID_ENCODER, ID_DECODER, ID_PLAYER, ID_CONVERTER, ID_HELP}) frame_->commands().execute(command);
    // The main window with the tree and all five module windows, their toolbars and forms.
    for (QWidget* widget : frame_->findChildren<QWidget*>()) {
        const bool control = qobject_cast<QAbstractButton*>(widget) || qobject_cast<QLineEdit*>(widget) ||
                             qobject_cast<QComboBox*>(widget) || qobject_cast<QAbstractSlider*>(widget) ||
                             qobject_cast<QAbstractItemView*>(widget) || ControlId::of(widget) != 0;
        // A combo box's own edit field and the parts of lists speak through their owner.
        QWidget* owner = widget->parentWidget();
        const bool part = widget->window() != frame_ || qobject_cast<QScrollBar*>(widget) ||
                          qobject_cast<QComboBox*>(owner) || qobject_cast<QAbstractItemView*>(owner) ||
                          (owner && qobject_cast<QAbstractItemView*>(owner->parentWidget()));
        if (!control || part) continue;
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
        ASSERT_NE(accessible, nullptr);
        EXPECT_FALSE(accessible->text(QAccessible::Name).trimmed().isEmpty())
            << widget->metaObject()->className() << " " << widget->objectName().toStdString() << " in "
            << (owner ? owner->metaObject()->className() : "") << " has no accessible name";
    }
}

TEST_F(KeyboardReachTest, TheMainWindowOpensWhereItWasClosedAndStaysOnTheScreen) {
    EXPECT_EQ(frame_->size(), FrameGeometry::DefaultSize);
    frame_->setGeometry(40, 30, 900, 640);
    const QRect closedAt = frame_->geometry();
    frame_->close();
    app_->ExitInstance();
    start();
    EXPECT_EQ(frame_->geometry(), closedAt);
}

TEST(FrameGeometryTest, AWindowIsShrunkAndMovedOntoTheAvailableArea) {
    using Placement = FrameGeometry::Placement;
    struct Case {
        const char* what;
        Placement wanted;
        QRect available;
        QSize size;
        std::optional<QPoint> position;
    };
    const QRect screen(0, 0, 1280, 1024);
    const Case cases[] = {
        {"fits", {{1000, 700}, std::nullopt}, screen, {1000, 700}, std::nullopt},
        {"twice the scale of a 1400x950 screen", {{1000, 700}, std::nullopt}, QRect(0, 0, 700, 475), {700, 475}, std::nullopt},
        {"from a wider screen", {{900, 640}, QPoint(2000, 50)}, screen, {900, 640}, QPoint(380, 50)},
        {"above and left of it", {{900, 640}, QPoint(-500, -20)}, screen, {900, 640}, QPoint(0, 0)},
        {"below a panel", {{900, 640}, QPoint(10, 0)}, QRect(0, 30, 1280, 994), {900, 640}, QPoint(10, 30)},
    };
    for (const Case& c : cases) {
        const Placement placed = FrameGeometry::clamped(c.wanted, c.available);
        EXPECT_EQ(placed.size, c.size) << c.what;
        EXPECT_EQ(placed.position, c.position) << c.what;
    }
}
