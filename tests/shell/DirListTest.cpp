#include "framework/DialogRunner.h"
#include "resources/ResourceIds.h"
#include "shell/CDirList.h"
#include "shell/CFtpParameterDialog.h"
#include "shell/ListPlayerTarget.h"
#include "support/FileBytes.h"
#include "support/TempFolder.h"
#include "support/WindowTestApp.h"

#include <QDateTime>
#include <QFile>
#include <QFileIconProvider>
#include <QLocale>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

// A form that holds a file list, as the module forms do; the Player variant takes Play and
// Add Playlist.
class ListForm : public QWidget {
public:
    ListForm() : list(new CDirList(&icons, this)) {
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(list);
        resize(500, 300);
        list->InitColumns(QString(), true);
        show();
    }
    QFileIconProvider icons;
    CDirList* list;
};

class PlayerListForm : public ListForm, public ListPlayerTarget {
public:
    void addToPlaylist(const QStringList& paths) override { calls.append(QStringLiteral("add ") + paths.join(',')); }
    void playFromList() override { calls.append(QStringLiteral("play")); }
    QStringList calls;
};

class DirListTest : public ::testing::Test {
protected:
    void SetUp() override {
        WindowTestApp::instance();
        form_ = std::make_unique<ListForm>();
        for (const auto& [name, size] : std::vector<std::pair<const char*, std::size_t>>{
                 {"b.mp3", 300}, {"a.txt", 20}, {"C.wav", 5000}, {".hidden", 1}})
            FileBytes::write(folder_.file(name), FileBytes::pattern(size));
        std::filesystem::create_directory(folder_.file("sub"));
    }

    QStringList names() const {
        QStringList result;
        for (int i = 0; i < form_->list->topLevelItemCount(); ++i) result.append(form_->list->topLevelItem(i)->text(0));
        return result;
    }
    void select(const QStringList& wanted) {
        for (int i = 0; i < form_->list->topLevelItemCount(); ++i) {
            QTreeWidgetItem* item = form_->list->topLevelItem(i);
            item->setSelected(wanted.contains(item->text(0)));
        }
    }
    void clickHeader(int column) {
        QHeaderView* header = form_->list->header();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + header->sectionSize(column) / 2, header->height() / 2));
    }
    QString folder() const { return QString::fromStdString(folder_.path()); }

    TempFolder folder_;
    std::unique_ptr<ListForm> form_;
};

}  // namespace

TEST_F(DirListTest, ShowsTheFilesOfAFolderWithSizeAndModifiedInNameOrder) {
    EXPECT_TRUE(form_->list->ShowFolder(folder()));
    EXPECT_EQ(names(), (QStringList{"a.txt", "b.mp3", "C.wav"}));
    EXPECT_EQ(form_->list->topLevelItem(2)->text(CDirList::SizeColumn), QStringLiteral("5000"));
    EXPECT_FALSE(form_->list->topLevelItem(0)->icon(0).isNull());
    EXPECT_EQ(form_->list->headerItem()->text(0), QStringLiteral("Name"));

    TempFolder empty;
    EXPECT_TRUE(form_->list->ShowFolder(QString::fromStdString(empty.path())));
    EXPECT_EQ(form_->list->topLevelItemCount(), 0);
    EXPECT_FALSE(form_->list->ShowFolder(folder() + "/missing"));
    EXPECT_EQ(form_->list->topLevelItemCount(), 0);
}

TEST_F(DirListTest, ModifiedDatesFollowTheLocale) {
    QFile file(folder() + QStringLiteral("/C.wav"));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime(QDate(2024, 3, 5), QTime(14, 7)), QFileDevice::FileModificationTime));
    file.close();
    const struct {
        QLocale locale;
        QString shown;
    } cases[] = {{QLocale(QLocale::German, QLocale::Germany), QStringLiteral("05.03.24 14:07")},
                 {QLocale(QLocale::English, QLocale::UnitedKingdom), QStringLiteral("05/03/2024 14:07")}};
    for (const auto& c : cases) {
        QLocale::setDefault(c.locale);
        EXPECT_TRUE(form_->list->ShowFolder(folder()));
        EXPECT_EQ(form_->list->topLevelItem(2)->text(CDirList::ModifiedColumn), c.shown);
    }
    QLocale::setDefault(QLocale::system());
}

TEST_F(DirListTest, TwoClicksOnAHeaderGiveOppositeOrders) {
    form_->list->ShowFolder(folder());
    clickHeader(CDirList::SizeColumn);
    const QStringList first = names();
    clickHeader(CDirList::SizeColumn);
    const QStringList second = names();
    EXPECT_EQ(first, (QStringList{"C.wav", "b.mp3", "a.txt"}));  // larger first
    EXPECT_EQ(second, (QStringList{"a.txt", "b.mp3", "C.wav"}));
    clickHeader(CDirList::NameColumn);
    const QStringList byName = names();
    clickHeader(CDirList::NameColumn);
    EXPECT_EQ(names(), QStringList(byName.rbegin(), byName.rend()));
}

TEST_F(DirListTest, GetClickedFileAnswersTheRowUnderTheLastClick) {
    form_->list->ShowFolder(folder());
    QSignalSpy clicks(form_->list, &CDirList::fileClicked);
    QTest::mouseClick(form_->list->viewport(), Qt::LeftButton, {}, form_->list->visualItemRect(form_->list->topLevelItem(1)).center());
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(form_->list->GetClickedFile(), folder() + "/b.mp3");
    QTest::mouseClick(form_->list->viewport(), Qt::LeftButton, {}, QPoint(5, form_->list->viewport()->height() - 3));
    EXPECT_EQ(form_->list->GetClickedFile(), QString());
}

// Rows: a.txt, b.mp3, C.wav. Moving picks nothing (picking a part may open a message box);
// Space picks as a click does; Enter picks a row not yet picked, then asks for the main action.
TEST_F(DirListTest, SpaceAndEnterPickTheCurrentRowAndArrowsOnlyMove) {
    CDirList& list = *form_->list;
    QSignalSpy clicks(&list, &CDirList::fileClicked);
    QSignalSpy enters(&list, &CDirList::enterPressed);
    QTest::keyClick(&list, Qt::Key_Return);  // nothing listed, nothing picked before: no action
    EXPECT_EQ(enters.count(), 0);

    list.setFixedHeight(list.header()->height() + 2 * list.sizeHintForRow(0) + 2 * list.frameWidth());
    list.ShowFolder(folder());
    list.setFocus();
    QTest::keyClick(&list, Qt::Key_Down);
    EXPECT_EQ(clicks.count(), 0);
    QTest::keyClick(&list, Qt::Key_Space);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(list.GetClickedFile(), folder() + "/a.txt");

    // Enter on the picked row does not pick it again, and the clicked file is still that row
    // after the list scrolled.
    list.scrollToBottom();
    ASSERT_GT(list.verticalScrollBar()->value(), 0);
    QTest::keyClick(&list, Qt::Key_Return);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(enters.count(), 1);
    EXPECT_EQ(list.GetClickedFile(), folder() + "/a.txt");

    QTest::keyClick(&list, Qt::Key_Down);
    QTest::keyClick(&list, Qt::Key_Down);
    EXPECT_EQ(clicks.count(), 1);
    QTest::keyClick(&list, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(clicks.count(), 2);
    EXPECT_EQ(enters.count(), 2);
    EXPECT_EQ(list.GetClickedFile(), folder() + "/C.wav");
    EXPECT_EQ(list.selectedPaths(), QStringList{folder() + "/C.wav"});
}

TEST_F(DirListTest, DeletingSeveralSelectedFilesRefreshesOnce) {
    form_->list->ShowFolder(folder());
    select({"a.txt", "C.wav"});
    QSignalSpy refreshes(form_->list, &CDirList::listed);
    form_->list->DoFileCommand(CDirList::Delete);
    EXPECT_EQ(refreshes.count(), 1);
    EXPECT_EQ(names(), QStringList{"b.mp3"});
    EXPECT_FALSE(FileBytes::exists(folder_.file("a.txt")));
    EXPECT_TRUE(FileBytes::exists(folder_.file(".hidden")));
}

TEST_F(DirListTest, RenamePromptsForEachSelectedFileAndRefreshesOnlyAfterAChange) {
    form_->list->ShowFolder(folder());
    select({"a.txt", "b.mp3"});
    QStringList prompts;
    QSignalSpy refreshes(form_->list, &CDirList::listed);
    {
        // Both keep their names: nothing happens.
        DialogAnswers answers({DialogAnswers::accept, DialogAnswers::accept});
        form_->list->DoFileCommand(CDirList::Rename);
        ASSERT_EQ(answers.seen().size(), 2u);
        EXPECT_EQ(answers.seen()[0].title, QStringLiteral("Rename"));
    }
    EXPECT_EQ(refreshes.count(), 0);
    {
        const auto renameTo = [&prompts](const QString& name) {
            return [&prompts, name](QDialog& dialog) {
                auto& prompt = static_cast<CFtpParameterDialog&>(dialog);
                prompts.append(prompt.prompt);
                dialog.findChild<QLineEdit*>()->setText(name);
                return DialogAnswers::accept(dialog);
            };
        };
        // The second would replace a file: refused, and nothing is lost.
        DialogAnswers answers({renameTo(QStringLiteral("d.txt")), renameTo(QStringLiteral("C.wav"))});
        form_->list->DoFileCommand(CDirList::Rename);
    }
    EXPECT_EQ(prompts.first(), QStringLiteral("Rename\r\n%1/a.txt\r\nto").arg(folder()));
    EXPECT_EQ(refreshes.count(), 1);
    EXPECT_EQ(names(), (QStringList{"b.mp3", "C.wav", "d.txt"}));
    EXPECT_EQ(FileBytes::read(folder_.file("C.wav")).size(), 5000u);
}

TEST_F(DirListTest, PlayAndAddPlaylistReachOnlyAPlayerForm) {
    form_->list->ShowFolder(folder());
    EXPECT_FALSE(form_->list->stateOf(ID_LIST_PLAY).enabled);
    EXPECT_FALSE(form_->list->stateOf(ID_LIST_ADD_PLAYLIST).enabled);
    EXPECT_TRUE(form_->list->stateOf(ID_LIST_REFRESH).enabled);

    PlayerListForm player;
    player.list->ShowFolder(folder());
    for (int i = 0; i < 2; ++i) player.list->topLevelItem(i)->setSelected(true);
    EXPECT_TRUE(player.list->execute(ID_LIST_PLAY));
    EXPECT_EQ(player.calls, (QStringList{QStringLiteral("add %1/a.txt,%1/b.mp3").arg(folder()), QStringLiteral("play")}));
    EXPECT_TRUE(player.list->selectedItems().isEmpty());
}
