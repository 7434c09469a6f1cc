// The module windows as a new user meets them, in the real program under a real X server
// (Xvfb): every module form at the size the main window opens with and at 800x600 (screenshots
// in the folder named by QUARVEL_SCREENSHOT_DIR), where no control may lie outside the visible
// region unless a scroll bar reaches it and every field that Tab reaches shows; and a split and
// join done with the keyboard alone.
// Run once more with QT_SCALE_FACTOR=2, where the window must stay on the screen.
#include "app/CVyx31App.h"
#include "framework/ChildFrame.h"
#include "framework/ControlId.h"
#include "resources/ResourceIds.h"
#include "shell/CDirList.h"
#include "shell/CDirTree.h"
#include "shell/CMainFrame.h"
#include "splitjoin/forms/CEncodeView.h"
#include "support/FileBytes.h"
#include "support/Screenshot.h"
#include "support/SplitJoinFolders.h"
#include "support/WindowTestApp.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QProgressBar>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>


namespace {

void settle(int milliseconds = 600) { WindowTestApp::waitUntil([] { return false; }, milliseconds); }

bool scaled() { return qEnvironmentVariableIntValue("QT_SCALE_FACTOR") > 1; }

// What the user sees and works: buttons, fields, lists, sliders, meters and labels; not the
// inner parts of a list, text box, combo box or web view.
bool isControl(const QWidget* widget, const QWidget* form) {
    for (const QWidget* above = widget->parentWidget(); above && above != form; above = above->parentWidget())
        if (qobject_cast<const QAbstractScrollArea*>(above) || qobject_cast<const QComboBox*>(above) ||
            above->inherits("QWebEngineView"))
            return false;
    if (qobject_cast<const QScrollBar*>(widget)) return false;
    return qobject_cast<const QAbstractButton*>(widget) || qobject_cast<const QLineEdit*>(widget) ||
           qobject_cast<const QComboBox*>(widget) || qobject_cast<const QAbstractSlider*>(widget) ||
           qobject_cast<const QAbstractScrollArea*>(widget) || qobject_cast<const QProgressBar*>(widget) ||
           qobject_cast<const QLabel*>(widget) || widget->inherits("QWebEngineView") || ControlId::of(widget) != 0;
}

QString nameOf(const QWidget* widget) {
    const int id = ControlId::of(widget);
    if (id != 0) return QStringLiteral("control %1").arg(id);
    if (const auto* label = qobject_cast<const QLabel*>(widget)) return QStringLiteral("label \"%1\"").arg(label->text());
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        return QStringLiteral("button \"%1\"").arg(button->text());
    return QString::fromLatin1(widget->metaObject()->className());
}

struct FormView {
    QScrollArea* area = nullptr;
    QWidget* form = nullptr;
    bool scrollsAcross() const { return area->horizontalScrollBar()->isVisible(); }
    bool scrollsDown() const { return area->verticalScrollBar()->isVisible(); }
};

FormView formViewOf(ChildFrame& child) {
    return {qobject_cast<QScrollArea*>(child.frameWindow()->centralWidget()), child.form()};
}

// The controls that the user cannot see whole: cut by a parent that is too small, or lying
// outside the visible region of the form in a direction that has no scroll bar.
QStringList unreachableControls(const FormView& view) {
    QStringList cut;
    const QRect visible = view.area->viewport()->rect();
    for (QWidget* widget : view.form->findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(view.form) || !isControl(widget, view.form) || widget->size().isEmpty()) continue;
        const QRect own(widget->mapTo(view.form, QPoint(0, 0)), widget->size());
        QRect shown = own;
        for (QWidget* above = widget->parentWidget(); above != view.form; above = above->parentWidget())
            shown &= QRect(above->mapTo(view.form, QPoint(0, 0)), above->size());
        if (shown != own) {
            cut << nameOf(widget) + QStringLiteral(" is cut by its parent");
            continue;
        }
        const QRect onView(widget->mapTo(view.area->viewport(), QPoint(0, 0)), widget->size());
        const bool outsideAcross = onView.left() < visible.left() || onView.right() > visible.right();
        const bool outsideDown = onView.top() < visible.top() || onView.bottom() > visible.bottom();
        if ((outsideAcross && !view.scrollsAcross()) || (outsideDown && !view.scrollsDown()))
            cut << nameOf(widget) + QStringLiteral(" lies outside the window with no scroll bar");
    }
    return cut;
}

// Tabs through the form's fields from its first stop; answers the fields that got the focus
// while lying outside the visible region (partly, for a field that fits into it).
QStringList fieldsTabbedToOutOfView(const FormView& view) {
    QStringList hidden;
    QWidget* first = view.form->nextInFocusChain();
    while (first != view.form && !(first->focusPolicy() & Qt::TabFocus && first->isVisible() && first->isEnabled()))
        first = first->nextInFocusChain();
    first->setFocus(Qt::TabFocusReason);
    const QRect visible = view.area->viewport()->rect();
    QWidget* focus = QApplication::focusWidget();
    // Once round the form's fields (the module window keeps Tab inside itself).
    for (int presses = 0; presses < 80 && focus && view.form->isAncestorOf(focus); ++presses) {
        const QRect onView(focus->mapTo(view.area->viewport(), QPoint(0, 0)), focus->size());
        const bool fits = onView.width() <= visible.width() && onView.height() <= visible.height();
        if (fits ? !visible.contains(onView) : !visible.intersects(onView)) hidden << nameOf(focus);
        QTest::keyClick(focus, Qt::Key_Tab);
        focus = QApplication::focusWidget();
        if (focus == first) break;
    }
    return hidden;
}

class XvfbApp : public ::testing::Test {
protected:
    void SetUp() override {
        WindowTestApp::instance();
        WindowTestApp::clearSettings();
        // The help pages and the sponsor pages of the source tree.
        QSettings(QStringLiteral("OzmoMp3s"), QStringLiteral("vyx31"))
            .setValue(QStringLiteral("Settings/AppDir"), QStringLiteral(QUARVEL_SOURCE_DIR "/"));
        app_ = std::make_unique<CVyx31App>();
        ASSERT_TRUE(app_->InitInstance());
        frame_ = app_->mainFrame();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame_));
        frame_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame_));
        settle();
    }
    void TearDown() override {
        frame_->close();
        app_->ExitInstance();
    }

    std::unique_ptr<CVyx31App> app_;
    CMainFrame* frame_ = nullptr;
};

struct Module {
    ModuleId id;
    int command;
    const char* name;
};

constexpr Module kModules[] = {{ModuleId::Encoder, ID_ENCODER, "encoder"},
                               {ModuleId::Decoder, ID_DECODER, "decoder"},
                               {ModuleId::Player, ID_PLAYER, "player"},
                               {ModuleId::Converter, ID_CONVERTER, "converter"},
                               {ModuleId::Help, ID_HELP, "help"}};

}  // namespace

using FormsFit = XvfbApp;

TEST_F(FormsFit, EveryModuleIsWholeAtTheOpeningSizeAndReachableBelowIt) {
    const QRect available = frame_->screen()->availableGeometry();
    EXPECT_TRUE(available.contains(frame_->frameGeometry())) << "the window does not lie on the screen";
    const QSize opening = frame_->size();
    if (!scaled()) {
        EXPECT_EQ(opening, QSize(1000, 700));
    }

    for (const Module& module : kModules) {
        SCOPED_TRACE(module.name);
        frame_->commands().execute(module.command);
        ChildFrame* child = frame_->childOf(module.id);
        ASSERT_NE(child, nullptr);
        const FormView view = formViewOf(*child);
        ASSERT_NE(view.area, nullptr);

        const std::vector<QSize> sizes = scaled() ? std::vector<QSize>{opening}
                                                  : std::vector<QSize>{opening, QSize(800, 600)};
        for (const QSize& size : sizes) {
            frame_->resize(size);
            settle();
            const QString shot = QStringLiteral("%1-%2x%3%4.png")
                                     .arg(QLatin1String(module.name))
                                     .arg(size.width())
                                     .arg(size.height())
                                     .arg(scaled() ? QStringLiteral("-scale2") : QString());
            Screenshot::save(*frame_, shot, 1200);
            const QStringList cut = unreachableControls(view);
            EXPECT_TRUE(cut.isEmpty()) << shot.toStdString() << ": " << cut.join(QStringLiteral("; ")).toStdString();
            const QStringList hidden = fieldsTabbedToOutOfView(view);
            EXPECT_TRUE(hidden.isEmpty()) << shot.toStdString() << ": Tab reached "
                                          << hidden.join(QStringLiteral(", ")).toStdString() << " out of view";
            // The size the program opens with shows every form whole, with no scrolling.
            if (size == opening && !scaled()) {
                EXPECT_FALSE(view.scrollsAcross() || view.scrollsDown()) << shot.toStdString() << " scrolls";
            }
        }
        frame_->resize(opening);
    }
}

namespace {

// The key goes where the focus is, as a real key press does.
void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = QApplication::activePopupWidget();
    if (!target) target = QApplication::focusWidget();
    if (!target) target = QApplication::activeWindow();
    ASSERT_NE(target, nullptr) << "no window takes the keys";
    QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
    settle(150);
}

void type(const QString& text) {
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    QTest::keyClicks(QApplication::focusWidget(), text);
    settle(450);  // longer than the list's type-ahead interval, so the next search starts afresh
}

// Tab until the control with the id has the focus.
void tabTo(int controlId) {
    for (int presses = 0; presses < 40; ++presses) {
        if (QApplication::focusWidget() && ControlId::of(QApplication::focusWidget()) == controlId) return;
        press(Qt::Key_Tab);
    }
    FAIL() << "Tab never reached control " << controlId;
}

// F6 until the pane has the focus; the panes go round, so three presses reach any of them.
void f6To(QWidget* pane) {
    for (int presses = 0; presses < 3 && QApplication::focusWidget() != pane; ++presses) press(Qt::Key_F6);
    ASSERT_EQ(QApplication::focusWidget(), pane) << "F6 never reached " << pane->metaObject()->className();
}

// Opens a module from the Action menu with its mnemonic letters. A new web view can take the
// activation from the main window, which has no window manager here to hand it back.
void openFromActionMenu(QWidget& frame, char letter) {
    press(Qt::Key_A, Qt::AltModifier);
    ASSERT_NE(QApplication::activePopupWidget(), nullptr) << "Alt+A opened no menu";
    press(Qt::Key_A + (letter - 'A'));
    settle(800);
    if (!QApplication::activeWindow()) {
        frame.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    }
}

}  // namespace

using KeyboardJourney = XvfbApp;

TEST_F(KeyboardJourney, SplitAndJoinWithTheKeyboardOnly) {
    const auto [sources, parts, rebuilt, source] = SplitJoinFolders(3'000'000, 5);
    DialogAnswers noDialogs;
    QTreeWidget* tree = frame_->dirTree()->tree();

    // Encoder: the folder from the tree, the file from the list, the output folder typed.
    openFromActionMenu(*frame_, 'E');
    auto* encoder = dynamic_cast<CEncodeView*>(app_->form(ModuleId::Encoder));
    ASSERT_NE(encoder, nullptr);
    f6To(tree);
    ASSERT_TRUE(tree->currentItem() != nullptr);
    if (!tree->currentItem()->isExpanded()) press(Qt::Key_Right);  // open Home
    type(QStringLiteral("Holiday"));
    ASSERT_EQ(frame_->dirTree()->currentPath(), QString::fromStdString(sources));
    press(Qt::Key_F6);
    ASSERT_EQ(QApplication::focusWidget(), encoder->fileList());
    press(Qt::Key_Down);
    press(Qt::Key_Space);
    EXPECT_EQ(ControlId::find<QLineEdit>(encoder, 1033)->text(), QString::fromStdString(sources + "/Beach Day 2026.mpg"));
    press(Qt::Key_F6);
    tabTo(1043);
    type(QString::fromStdString(parts));
    press(Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(encoder->status().text().substr(0, 6), "Ready,");
    EXPECT_TRUE(FileBytes::exists(parts + "/beach_day_202600.ppt"));

    // Decoder: the parts' folder from the tree, the output folder typed, Enter on a part.
    openFromActionMenu(*frame_, 'D');
    QWidget* decoder = app_->form(ModuleId::Decoder);
    ASSERT_NE(decoder, nullptr);
    f6To(tree);
    press(Qt::Key_Home);
    if (!tree->currentItem()->isExpanded()) press(Qt::Key_Right);
    type(QStringLiteral("upload"));
    ASSERT_EQ(frame_->dirTree()->currentPath(), QString::fromStdString(parts));
    press(Qt::Key_F6);  // the file list
    press(Qt::Key_F6);  // the fields
    tabTo(1005);
    type(QString::fromStdString(rebuilt));
    press(Qt::Key_F6, Qt::ShiftModifier);
    auto* decoderList = decoder->findChild<CDirList*>();
    ASSERT_EQ(QApplication::focusWidget(), decoderList);
    type(QStringLiteral("beach_day_202601"));
    press(Qt::Key_Return);
    EXPECT_EQ(FileBytes::read(rebuilt + "/Beach Day 2026.mpg"), source);
    EXPECT_TRUE(noDialogs.seen().empty());
}
