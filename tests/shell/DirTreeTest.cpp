#include "framework/CommandState.h"
#include "resources/ResourceIds.h"
#include "shell/CDirTree.h"
#include "shell/FolderHandlingForm.h"
#include "support/TempFolder.h"
#include "support/WindowTestApp.h"

#include <QApplication>
#include <QFileIconProvider>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

// The receiving side of a folder-handling form, without a window of its own.
class FolderReceiver : public QWidget, public FolderHandlingForm {
public:
    QString currentFolder() const override { return folder; }
    void setCurrentFolder(const QString& path) override { folder = path; }
    bool ReceiveFolder(const QString& path) override {
        received.append(path);
        return !failing.contains(path);
    }
    QString folder;
    QStringList received;
    QStringList failing;
};

class DirTreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        WindowTestApp::instance();
        for (const char* folder : {"music/rock", "music/jazz", "docs/letters", "empty", "full"})
            fs::create_directories(home_.file(folder));
        std::ofstream(home_.file("full/keep.txt")) << "data";
        frame_.resize(400, 600);
        tree_ = new CDirTree(&frame_, icons_, FolderNamespace(home_.path(), "", "/nonexistent"));
        frame_.addDockWidget(Qt::LeftDockWidgetArea, tree_);
        tree_->setActiveViewLookup([this] { return &form_; });
        frame_.show();
    }

    QString path(const char* relative) const { return QString::fromStdString(home_.file(relative)); }
    QString home() const { return QString::fromStdString(home_.path()); }
    QString selected() const { return CDirTree::pathOf(tree_->tree()->currentItem()); }
    QTreeWidgetItem* homeItem() const { return tree_->tree()->topLevelItem(0); }

    static DialogAnswers::Answer typeAndAccept(const QString& text) {
        return [text](QDialog& dialog) {
            dialog.findChild<QLineEdit*>(QStringLiteral("id_%1").arg(IDC_PROMPT_VALUE))->setText(text);
            return DialogAnswers::accept(dialog);
        };
    }

    QApplication& application_ = WindowTestApp::instance();  // before any widget
    TempFolder home_;
    QMainWindow frame_;
    QFileIconProvider icons_;
    CDirTree* tree_ = nullptr;
    FolderReceiver form_;
};

}  // namespace

TEST_F(DirTreeTest, BranchesFillOnlyWhenFirstExpanded) {
    ASSERT_EQ(tree_->tree()->topLevelItemCount(), 2);  // Home and Computer
    EXPECT_EQ(homeItem()->childCount(), 0);
    EXPECT_EQ(homeItem()->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
    homeItem()->setExpanded(true);
    ASSERT_EQ(homeItem()->childCount(), 4);
    EXPECT_EQ(homeItem()->child(0)->text(0), QStringLiteral("docs"));
    EXPECT_EQ(homeItem()->child(2)->childCount(), 0);  // "full" has no sub-folders
    EXPECT_EQ(tree_->tree()->currentItem(), nullptr);  // nothing selected yet
}

TEST_F(DirTreeTest, SelectPathFindsFoldersTrailingSeparatorsAndTheRootAndClearsForMissingPaths) {
    struct Case {
        QString path;
        QString expected;
    };
    const Case cases[] = {
        {path("music/rock"), path("music/rock")},
        {path("music/rock") + "/", path("music/rock")},
        {home(), home()},
        {QStringLiteral("/"), QStringLiteral("/")},
        {path("music/pop"), QString()},
        {path("Music/rock"), QString()},  // paths keep their case
        {QString(), QString()},
    };
    for (const auto& c : cases) {
        QTreeWidgetItem* found = tree_->SelectPath(c.path);
        EXPECT_EQ(CDirTree::pathOf(found), c.expected) << c.path.toStdString();
        EXPECT_EQ(selected(), c.expected) << c.path.toStdString();
        if (found) {
            EXPECT_FALSE(found->isExpanded());
        }
    }
}

TEST_F(DirTreeTest, PathSearchExpandsOnlyWhatLiesOnTheWay) {
    tree_->SelectPath(path("music/rock"));
    QTreeWidgetItem* music = tree_->tree()->currentItem()->parent();
    EXPECT_EQ(CDirTree::pathOf(music), path("music"));
    for (int i = 0; i < homeItem()->childCount(); ++i)
        if (homeItem()->child(i) != music) {
            EXPECT_EQ(homeItem()->child(i)->childCount(), 0);
        }
    // The virtual "Computer" is not searched when the path lies under Home.
    EXPECT_EQ(tree_->tree()->topLevelItem(1)->childCount(), 0);
}

TEST_F(DirTreeTest, SelectionGoesToTheActiveFormAndVirtualFoldersHandNothingOver) {
    tree_->SelectPath(path("docs"));
    EXPECT_EQ(form_.received, QStringList{path("docs")});
    EXPECT_EQ(form_.folder, path("docs"));
    EXPECT_EQ(tree_->currentPath(), path("docs"));

    tree_->tree()->setCurrentItem(tree_->tree()->topLevelItem(1));  // "Computer"
    EXPECT_EQ(form_.received.size(), 1);
    EXPECT_EQ(tree_->currentPath(), path("docs"));
    EXPECT_FALSE(tree_->stateOf(ID_DIR_CREATE).enabled);
    EXPECT_FALSE(tree_->stateOf(ID_DIR_REMOVE).enabled);
    EXPECT_TRUE(tree_->stateOf(ID_DIR_REFRESH).enabled);

    // Selecting the selected folder again hands it over again (a newly opened form needs it).
    tree_->SelectPath(path("docs"));
    tree_->SelectPath(path("docs"));
    EXPECT_EQ(form_.received.size(), 3);
}

TEST_F(DirTreeTest, AFolderTheFormCannotListReturnsToHomeOnceWithoutRepeating) {
    form_.failing = {path("empty")};
    tree_->SelectPath(path("empty"));
    EXPECT_EQ(form_.received, (QStringList{path("empty"), home()}));
    EXPECT_EQ(selected(), home());

    form_.received.clear();
    form_.failing = {path("empty"), home()};
    tree_->SelectPath(path("empty"));
    EXPECT_EQ(form_.received, (QStringList{path("empty"), home()}));
}

TEST_F(DirTreeTest, CreateFolderSelectsItAndAFailureShowsTheSystemText) {
    tree_->SelectPath(path("music"));
    {
        DialogAnswers answers({[&](QDialog& dialog) {
            const auto* prompt = dialog.findChild<QLabel*>(QStringLiteral("id_%1").arg(IDC_PROMPT_TEXT));
            EXPECT_EQ(prompt->text(), QStringLiteral("Create directory on\n%1\n").arg(path("music")));
            EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Dialog"));
            return typeAndAccept("new")(dialog);
        }});
        tree_->DoFolderCommand(CDirTree::Create);
    }
    EXPECT_TRUE(fs::is_directory(home_.file("music/new")));
    EXPECT_EQ(selected(), path("music/new"));

    tree_->SelectPath(path("music"));
    DialogAnswers answers({typeAndAccept("new"), DialogAnswers::accept});
    tree_->DoFolderCommand(CDirTree::Create);
    ASSERT_EQ(answers.seen().size(), 2u);
    EXPECT_EQ(answers.seen()[1].text, QStringLiteral("File exists"));
}

TEST_F(DirTreeTest, CreateWithCancelOrAnEmptyNameDoesNothing) {
    tree_->SelectPath(path("music"));
    DialogAnswers answers({[](QDialog& dialog) {
                               typeAndAccept("never")(dialog);
                               return DialogAnswers::reject(dialog);
                           },
                           typeAndAccept("")});
    tree_->DoFolderCommand(CDirTree::Create);
    tree_->DoFolderCommand(CDirTree::Create);
    EXPECT_FALSE(fs::exists(home_.file("music/never")));
    EXPECT_EQ(answers.seen().size(), 2u);
    EXPECT_EQ(std::distance(fs::directory_iterator(home_.file("music")), fs::directory_iterator()), 2);
}

TEST_F(DirTreeTest, RenameFolderAndRenameToTheSameName) {
    tree_->SelectPath(path("music/jazz"));
    {
        DialogAnswers answers({[&](QDialog& dialog) {
            EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("id_%1").arg(IDC_PROMPT_TEXT))->text(),
                      QStringLiteral("Rename directory\n%1\nto").arg(path("music/jazz")));
            EXPECT_EQ(dialog.findChild<QLineEdit*>(QStringLiteral("id_%1").arg(IDC_PROMPT_VALUE))->text(),
                      QStringLiteral("jazz"));
            return typeAndAccept("Blues")(dialog);
        }});
        tree_->DoFolderCommand(CDirTree::Rename);
    }
    EXPECT_FALSE(fs::exists(home_.file("music/jazz")));
    EXPECT_TRUE(fs::is_directory(home_.file("music/Blues")));
    EXPECT_EQ(selected(), path("music/Blues"));

    // The same name, a name that would replace another folder, and a cancelled rename change nothing.
    const int handedOver = form_.received.size();
    DialogAnswers answers({DialogAnswers::accept, typeAndAccept("rock"), DialogAnswers::reject});
    for (int i = 0; i < 3; ++i) tree_->DoFolderCommand(CDirTree::Rename);
    EXPECT_EQ(answers.seen().size(), 3u);
    EXPECT_TRUE(fs::is_directory(home_.file("music/Blues")));
    EXPECT_TRUE(fs::is_directory(home_.file("music/rock")));
    EXPECT_EQ(form_.received.size(), handedOver);
}

TEST_F(DirTreeTest, RemoveEmptyFolderSelectsItsParentAndANonEmptyFolderShowsTheSystemText) {
    tree_->SelectPath(path("empty"));
    tree_->DoFolderCommand(CDirTree::Remove);
    EXPECT_FALSE(fs::exists(home_.file("empty")));
    EXPECT_EQ(selected(), home());

    tree_->SelectPath(path("full"));
    DialogAnswers answers({DialogAnswers::accept});
    tree_->DoFolderCommand(CDirTree::Remove);
    ASSERT_EQ(answers.seen().size(), 1u);
    EXPECT_EQ(answers.seen()[0].text, QStringLiteral("Directory not empty"));
    EXPECT_EQ(answers.seen()[0].title, QStringLiteral("vyx31"));
    EXPECT_TRUE(fs::exists(home_.file("full/keep.txt")));
    EXPECT_EQ(selected(), path("full"));
}

TEST_F(DirTreeTest, RefreshRebuildsTheTreeAndSelectsTheCurrentPathAgain) {
    tree_->SelectPath(path("docs/letters"));
    fs::create_directories(home_.file("added"));
    form_.received.clear();
    tree_->DoFolderCommand(CDirTree::Refresh);
    EXPECT_EQ(selected(), path("docs/letters"));
    EXPECT_EQ(form_.received, QStringList{path("docs/letters")});
    EXPECT_NE(tree_->SelectPath(path("added")), nullptr);
}
