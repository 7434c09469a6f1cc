#include "framework/ControlId.h"
#include "metadata/CID3TagFile.h"
#include "metadata/forms/CXAnalyzerTree.h"
#include "metadata/forms/GenreBox.h"
#include "resources/ResourceIds.h"
#include "support/FileBytes.h"
#include "support/RecordingSinks.h"
#include "support/TempFolder.h"
#include "support/WindowTestApp.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const std::string kFixtures = QUARVEL_FIXTURES "/mpeg/";

class AnalyzerTreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        tree_ = std::make_unique<CXAnalyzerTree>();
        tree_->setStatusSink(&status_);
        tree_->resize(400, 600);
        tree_->show();
    }

    CXAnalyzerTree& tree() { return *tree_; }

    std::string copyFixture(const std::string& name) {
        const std::string path = folder_.file(name);
        fs::copy_file(kFixtures + name, path);
        return path;
    }

    // Shows the file and waits for the tree to be filled; false when the analysis failed.
    bool show(const std::string& path) {
        QSignalSpy analysed(&tree(), &CXAnalyzerTree::analysed);
        tree().AnalyseFile(QString::fromStdString(path));
        return waitForAnalysis(analysed);
    }

    static bool waitForAnalysis(QSignalSpy& analysed) {
        if (analysed.isEmpty() && !analysed.wait(10000)) return false;
        return analysed.first().first().toInt() == 0;
    }

    QTreeWidgetItem* label(CXAnalyzerTree::ValueField field) { return tree().topLevelItem(1)->child(field); }
    QTreeWidgetItem* value(CXAnalyzerTree::ValueField field) { return label(field)->child(0); }

    // An in-place edit as a person makes it: F2 on the item, the edit box's text replaced by
    // typed (unless empty), ended with Return or Escape. Answers the text the box opened with.
    QString editInPlace(QTreeWidgetItem* item, const QString& typed, Qt::Key end) {
        tree().scrollToItem(item);
        tree().setCurrentItem(item);
        QTest::keyClick(tree().viewport(), Qt::Key_F2);
        QLineEdit* box = openEditor();
        if (!box) {
            ADD_FAILURE() << "no edit box opened on " << item->text(0).toStdString();
            return {};
        }
        const QString opened = box->text();
        if (!typed.isEmpty()) {
            box->selectAll();
            QTest::keyClicks(box, typed);
        }
        QTest::keyClick(box, end);
        // Return commits by a queued call.
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return opened;
    }

    QLineEdit* openEditor() {
        for (QLineEdit* box : tree().viewport()->findChildren<QLineEdit*>())
            if (box->isVisible()) return box;
        return nullptr;
    }

    // Whether "Write ID3 Tag" is enabled in the tree's context menu.
    bool writeEnabledInMenu() {
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), tree().mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(tree().viewport(), &event);
        auto* menu = tree().findChild<QMenu*>();
        if (!menu) return false;
        auto* write = ControlId::find<QAction>(menu, ID_INFO_WRITE_ID3);
        const bool enabled = write && write->isEnabled();
        menu->close();
        delete menu;
        return enabled;
    }

    QApplication& app_ = WindowTestApp::instance();
    TempFolder folder_;
    RecordingSinks status_;
    std::unique_ptr<CXAnalyzerTree> tree_;
};

std::vector<QString> childTexts(const QTreeWidgetItem* item) {
    std::vector<QString> texts;
    for (int i = 0; i < item->childCount(); ++i) texts.push_back(item->child(i)->text(0));
    return texts;
}

// The bytes between a file's ID3v2 tag (by the size in its header) and its ID3v1 tag: the audio,
// with nothing left over from an older tag in front of it.
std::vector<std::uint8_t> audioOf(const std::string& path) {
    const std::vector<std::uint8_t> bytes = FileBytes::read(path);
    std::size_t start = 0;
    if (bytes.size() >= 10 && std::string(bytes.begin(), bytes.begin() + 3) == "ID3")
        start = 10 + (std::size_t(bytes[6]) << 21 | std::size_t(bytes[7]) << 14 | std::size_t(bytes[8]) << 7 | bytes[9]);
    const bool hasV1 = bytes.size() >= 128 && std::string(bytes.end() - 128, bytes.end() - 125) == "TAG";
    const std::size_t end = bytes.size() - (hasV1 ? 128 : 0);
    if (start > end) return {};
    return {bytes.begin() + static_cast<std::ptrdiff_t>(start), bytes.begin() + static_cast<std::ptrdiff_t>(end)};
}

// The ID3v1 genre byte at the end of the file.
int v1Genre(const std::string& path) {
    const std::vector<std::uint8_t> bytes = FileBytes::read(path);
    return bytes.back();
}

int countOf(const std::vector<std::uint8_t>& bytes, const std::string& marker) {
    int count = 0;
    for (std::size_t at = 0; at + marker.size() <= bytes.size(); ++at)
        if (std::equal(marker.begin(), marker.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at))) ++count;
    return count;
}

TEST_F(AnalyzerTreeTest, ShowsTheFileNameTrackInfoAndMpegInfoCollapsed) {
    ASSERT_TRUE(show(copyFixture("cbr128.mp3")));
    ASSERT_EQ(tree().topLevelItemCount(), 3);
    EXPECT_EQ(tree().topLevelItem(0)->text(0), "cbr128.mp3");
    EXPECT_EQ(tree().topLevelItem(1)->text(0), "Track Info");
    EXPECT_EQ(tree().topLevelItem(2)->text(0), "MPEG Info");
    for (int root = 0; root < 3; ++root) EXPECT_FALSE(tree().topLevelItem(root)->isExpanded());
    // Opening "Track Info" shows the values at once, not their labels alone.
    for (int field = 0; field < CXAnalyzerTree::FieldCount; ++field)
        EXPECT_TRUE(label(CXAnalyzerTree::ValueField(field))->isExpanded());
    EXPECT_EQ(childTexts(tree().topLevelItem(1)),
              (std::vector<QString>{"Title", "Artist", "Album", "Year", "Comment", "Genre", "Track"}));
    const std::vector<QString> values = {"Tone", "Quarvel", "Fixtures", "2024", "one second", "Rock", "3"};
    for (int field = 0; field < CXAnalyzerTree::FieldCount; ++field)
        EXPECT_EQ(value(CXAnalyzerTree::ValueField(field))->text(0), values[field]);
    const std::vector<QString> mpeg = childTexts(tree().topLevelItem(2));
    ASSERT_EQ(mpeg.size(), 14u);
    EXPECT_EQ(mpeg[0], "Level: MPEG 1");
    EXPECT_EQ(mpeg[1], "Layer: 3");
    EXPECT_EQ(mpeg[2], "Bitrate: 128000 bps");
    EXPECT_TRUE(mpeg[7].startsWith("Duration: 00:01.")) << mpeg[7].toStdString();
    EXPECT_EQ(mpeg[13], "Channels constant: Yes");
    EXPECT_EQ(tree().tagChoice(), 2);
    EXPECT_EQ(tree().filePath().toStdString(), folder_.file("cbr128.mp3"));
}

TEST_F(AnalyzerTreeTest, FileWithoutTagsShowsEmptyValues) {
    ASSERT_TRUE(show(copyFixture("vbr.mp3")));  // no tag: genre byte 255
    EXPECT_EQ(value(CXAnalyzerTree::Genre)->text(0), "");
    EXPECT_EQ(value(CXAnalyzerTree::Title)->text(0), "");
    EXPECT_EQ(value(CXAnalyzerTree::Track)->text(0), "");
    EXPECT_EQ(tree().genreNumber(), 255);
    EXPECT_EQ(tree().tagChoice(), -1);
}

TEST_F(AnalyzerTreeTest, EditsOfLabelsFileNameAndStreamLinesAreRefused) {
    ASSERT_TRUE(show(copyFixture("cbr128.mp3")));
    tree().expandAll();
    QTreeWidgetItem* refused[] = {label(CXAnalyzerTree::Title), tree().topLevelItem(0),
                                  tree().topLevelItem(2)->child(3)};
    for (QTreeWidgetItem* item : refused) {
        const QString before = item->text(0);
        SCOPED_TRACE(before.toStdString());
        EXPECT_EQ(editInPlace(item, "Changed", Qt::Key_Return), before);
        EXPECT_EQ(item->text(0), before);
    }
    EXPECT_FALSE(tree().isModified());
    EXPECT_EQ(tree().valueText(CXAnalyzerTree::Title), "Tone");
}

TEST_F(AnalyzerTreeTest, OnlyARealChangeSetsModifiedAndEnablesWrite) {
    ASSERT_TRUE(show(copyFixture("cbr128.mp3")));
    tree().expandAll();
    EXPECT_FALSE(writeEnabledInMenu());
    editInPlace(value(CXAnalyzerTree::Title), "", Qt::Key_Return);  // confirmed unchanged
    EXPECT_FALSE(tree().isModified());
    EXPECT_FALSE(writeEnabledInMenu());
    editInPlace(value(CXAnalyzerTree::Title), "Other tone", Qt::Key_Escape);  // abandoned
    EXPECT_FALSE(tree().isModified());
    EXPECT_EQ(value(CXAnalyzerTree::Title)->text(0), "Tone");

    editInPlace(value(CXAnalyzerTree::Title), "Other tone", Qt::Key_Return);
    EXPECT_TRUE(tree().isModified());
    EXPECT_TRUE(writeEnabledInMenu());
    EXPECT_EQ(value(CXAnalyzerTree::Title)->text(0), "Other tone");
    EXPECT_EQ(tree().valueText(CXAnalyzerTree::Title), "Other tone");
}

TEST_F(AnalyzerTreeTest, GenreDialogAtTheStartOfAGenreEdit) {
    const std::string path = copyFixture("mono64.mp3");  // ID3v1 only, genre 12 "Other"
    ASSERT_TRUE(show(path));
    tree().expandAll();
    ASSERT_EQ(value(CXAnalyzerTree::Genre)->text(0), "Other");
    auto chooseRock = [](QDialog& dialog) {
        auto* box = ControlId::find<GenreBox>(&dialog, IDC_GENRE_BOX);
        EXPECT_EQ(box->currentText(), "Other");
        box->setCurrentIndex(box->findText("Rock"));
        return DialogAnswers::accept(dialog);
    };
    {
        // Rock, then the edit abandoned: the number of Rock, the old name.
        DialogAnswers answers({chooseRock});
        EXPECT_EQ(editInPlace(value(CXAnalyzerTree::Genre), "", Qt::Key_Escape), "Rock");
        ASSERT_EQ(answers.seen().size(), 1u);
        EXPECT_EQ(answers.seen()[0].title, "Genre");
    }
    EXPECT_EQ(tree().genreNumber(), 17);
    EXPECT_EQ(tree().valueText(CXAnalyzerTree::Genre), "Other");
    EXPECT_FALSE(tree().isModified());
    QSignalSpy analysed(&tree(), &CXAnalyzerTree::analysed);
    tree().WriteTags();
    EXPECT_EQ(v1Genre(path), 17);
    ASSERT_TRUE(waitForAnalysis(analysed));
    EXPECT_EQ(value(CXAnalyzerTree::Genre)->text(0), "Rock");

    // Cancel in the dialog, then a typed name confirmed: the number stays.
    {
        DialogAnswers answers({DialogAnswers::reject});
        EXPECT_EQ(editInPlace(value(CXAnalyzerTree::Genre), "Rock", Qt::Key_Return), "Rock");
    }
    EXPECT_FALSE(tree().isModified());
    {
        DialogAnswers answers({DialogAnswers::reject});
        editInPlace(value(CXAnalyzerTree::Genre), "Krautrock", Qt::Key_Return);
    }
    EXPECT_TRUE(tree().isModified());
    EXPECT_EQ(tree().valueText(CXAnalyzerTree::Genre), "Krautrock");
    EXPECT_EQ(tree().genreNumber(), 17);
}

TEST_F(AnalyzerTreeTest, WriteReportsWhichTagsWereWritten) {
    // cbr128.mp3 carries both tags; without its last 128 bytes it carries an ID3v2 tag only.
    const std::string v2Only = copyFixture("cbr128.mp3");
    fs::resize_file(v2Only, fs::file_size(v2Only) - 128);
    struct Case {
        std::string path;
        const char* status;
        bool v2;
    };
    const Case cases[] = {
        {v2Only, "ID3v1 and ID3v2 Tag updated", true},
        {copyFixture("mono64.mp3"), "ID3v1 Tag updated", false},
        {copyFixture("vbr.mp3"), "ID3v1 Tag updated", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        ASSERT_TRUE(show(c.path));
        const std::vector<std::uint8_t> audio = audioOf(c.path);
        tree().expandAll();
        editInPlace(value(CXAnalyzerTree::Title), "Written", Qt::Key_Return);
        QSignalSpy analysed(&tree(), &CXAnalyzerTree::analysed);
        tree().WriteTags();
        EXPECT_EQ(status_.lastStatus(), c.status);
        const std::vector<std::uint8_t> bytes = FileBytes::read(c.path);
        EXPECT_EQ(countOf(bytes, "TAG"), 1);
        EXPECT_EQ(std::string(bytes.end() - 128, bytes.end() - 125), "TAG");
        EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 3) == "ID3", c.v2);
        EXPECT_EQ(audioOf(c.path), audio);
        ASSERT_TRUE(waitForAnalysis(analysed));
        EXPECT_EQ(value(CXAnalyzerTree::Title)->text(0), "Written");
    }
}

TEST_F(AnalyzerTreeTest, WriteWithoutAFileReportsNoTagUpdated) {
    QSignalSpy analysed(&tree(), &CXAnalyzerTree::analysed);
    tree().WriteTags();
    EXPECT_EQ(status_.lastStatus(), "Error: No Tag updated");
    EXPECT_FALSE(analysed.wait(200));
}

TEST_F(AnalyzerTreeTest, LongTextsOfTheId3v2TagSurviveAWriteOfAnotherText) {
    const std::string path = copyFixture("cbr128.mp3");
    const std::string title(60, 'L');
    {
        RecordingSinks boxes;
        CID3TagFile tags(boxes);
        tags.Reset();
        tags.DetectTags(path);
        tags.SetMode(TagMode::ModeV2);
        ASSERT_TRUE(tags.Read(path));
        tags.SetTitle(title);
        tags.SetTrack("12/15");
        ASSERT_TRUE(tags.BuildV2() && tags.WriteV2());
    }
    ASSERT_TRUE(show(path));
    tree().expandAll();
    editInPlace(value(CXAnalyzerTree::Year), "1999", Qt::Key_Return);
    QSignalSpy analysed(&tree(), &CXAnalyzerTree::analysed);
    tree().WriteTags();
    ASSERT_TRUE(waitForAnalysis(analysed));
    EXPECT_EQ(value(CXAnalyzerTree::Year)->text(0), "1999");
    EXPECT_EQ(value(CXAnalyzerTree::Title)->text(0).toStdString(), title);
    EXPECT_EQ(value(CXAnalyzerTree::Track)->text(0), "12/15");
}

TEST_F(AnalyzerTreeTest, RiffFileShowsNothingAndGetsNoTag) {
    ASSERT_TRUE(show(copyFixture("cbr128.mp3")));
    // MPEG audio inside a RIFF file: the analyser reads it, the tag record refuses it.
    const std::vector<std::uint8_t> song = FileBytes::read(kFixtures + "abr96.mp3");
    std::vector<std::uint8_t> riff(12 + song.size());
    const std::string head("RIFF\0\0\0\0WAVE", 12);
    std::copy(head.begin(), head.end(), riff.begin());
    std::copy(song.begin(), song.end(), riff.begin() + 12);
    const std::string path = folder_.file("song.wav");
    FileBytes::write(path, riff);

    ASSERT_TRUE(show(path));
    EXPECT_EQ(tree().topLevelItemCount(), 0);
    EXPECT_EQ(tree().valueText(CXAnalyzerTree::Title), "");
    tree().WriteTags();
    EXPECT_EQ(status_.lastStatus(), "Error: No Tag updated");
    EXPECT_EQ(FileBytes::read(path), riff);
}

TEST_F(AnalyzerTreeTest, TwoWritesInARowWorkOnTheRewrittenFile) {
    const std::string path = copyFixture("cbr128.mp3");
    ASSERT_TRUE(show(path));
    const std::vector<std::uint8_t> audio = audioOf(path);
    auto retitle = [](const QString& title) {
        return [title](QDialog& dialog) {
            auto* edit = ControlId::find<QLineEdit>(&dialog, IDC_ID3_TITLE);
            edit->setText(title);
            return DialogAnswers::accept(dialog);
        };
    };
    QSignalSpy analysed(&tree(), &CXAnalyzerTree::analysed);
    {
        // The second write comes before the analysis of the first has ended.
        DialogAnswers answers({retitle("A much longer first title"), retitle("Second")});
        tree().EditTags();
        tree().EditTags();
    }
    EXPECT_EQ(status_.statuses, (std::vector<std::string>{"ID3v1 and ID3v2 Tag updated", "ID3v1 and ID3v2 Tag updated"}));
    const std::vector<std::uint8_t> bytes = FileBytes::read(path);
    EXPECT_EQ(countOf(bytes, "TAG"), 1);
    EXPECT_EQ(countOf(bytes, "ID3"), 1);
    EXPECT_EQ(audioOf(path), audio);
    ASSERT_TRUE(waitForAnalysis(analysed));
    EXPECT_EQ(analysed.count(), 1);
    EXPECT_EQ(value(CXAnalyzerTree::Title)->text(0), "Second");
    EXPECT_EQ(value(CXAnalyzerTree::Artist)->text(0), "Quarvel");
}

TEST_F(AnalyzerTreeTest, AnalysisEndingWhileTheTagDialogIsOpenWaitsForIt) {
    const std::string shown = copyFixture("cbr128.mp3");
    const std::string next = copyFixture("mono64.mp3");
    ASSERT_TRUE(show(shown));
    const std::vector<std::uint8_t> nextBefore = FileBytes::read(next);
    QSignalSpy analysed(&tree(), &CXAnalyzerTree::analysed);
    DialogAnswers answers({[&](QDialog& dialog) {
        // The next file is picked (a playlist step) while the dialog is open.
        tree().AnalyseFile(QString::fromStdString(next));
        QTest::qWait(300);
        EXPECT_TRUE(analysed.isEmpty());
        EXPECT_EQ(tree().topLevelItem(0)->text(0), "cbr128.mp3");
        ControlId::find<QLineEdit>(&dialog, IDC_ID3_TITLE)->setText("Edited");
        return DialogAnswers::accept(dialog);
    }});
    tree().EditTags();
    EXPECT_EQ(status_.lastStatus(), "ID3v1 and ID3v2 Tag updated");
    EXPECT_EQ(FileBytes::read(next), nextBefore);
    ASSERT_TRUE(waitForAnalysis(analysed));
    EXPECT_EQ(tree().filePath().toStdString(), next);
    EXPECT_EQ(value(CXAnalyzerTree::Title)->text(0), "Mono");
    ASSERT_TRUE(show(shown));
    EXPECT_EQ(value(CXAnalyzerTree::Title)->text(0), "Edited");
}

TEST_F(AnalyzerTreeTest, EditTagsShowsTheTagAndCancelChangesNothing) {
    const std::string path = copyFixture("cbr128.mp3");
    ASSERT_TRUE(show(path));
    const std::vector<std::uint8_t> before = FileBytes::read(path);
    DialogAnswers answers({[](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "ID3 Tag");
        EXPECT_TRUE(ControlId::find<QRadioButton>(&dialog, IDC_ID3_BOTH)->isChecked());
        EXPECT_EQ(ControlId::find<QLineEdit>(&dialog, IDC_ID3_TITLE)->text(), "Tone");
        EXPECT_EQ(ControlId::find<QLineEdit>(&dialog, IDC_ID3_YEAR)->text(), "2024");
        EXPECT_EQ(ControlId::find<GenreBox>(&dialog, IDC_ID3_GENRE)->currentText(), "Rock");
        ControlId::find<QLineEdit>(&dialog, IDC_ID3_TITLE)->setText("Cancelled");
        return DialogAnswers::reject(dialog);
    }});
    tree().EditTags();
    EXPECT_EQ(answers.seen().size(), 1u);
    EXPECT_EQ(tree().valueText(CXAnalyzerTree::Title), "Tone");
    EXPECT_TRUE(status_.statuses.empty());
    EXPECT_EQ(FileBytes::read(path), before);
}

TEST_F(AnalyzerTreeTest, ExpandCollapseAndExpandAll) {
    ASSERT_TRUE(show(copyFixture("cbr128.mp3")));
    QTreeWidgetItem* trackInfo = tree().topLevelItem(1);
    tree().setCurrentItem(trackInfo);
    tree().Expand();
    EXPECT_TRUE(trackInfo->isExpanded());
    tree().Collapse();
    EXPECT_FALSE(trackInfo->isExpanded());

    // A root item: itself and its children.
    tree().ExpandAll();
    EXPECT_TRUE(trackInfo->isExpanded());
    for (int i = 0; i < trackInfo->childCount(); ++i) EXPECT_TRUE(trackInfo->child(i)->isExpanded());
    EXPECT_FALSE(tree().topLevelItem(2)->isExpanded());

    // Any other item: its parent's children.
    tree().collapseAll();
    tree().setCurrentItem(label(CXAnalyzerTree::Album));
    tree().ExpandAll();
    for (int i = 0; i < trackInfo->childCount(); ++i) EXPECT_TRUE(trackInfo->child(i)->isExpanded());

    // The file-name item has nothing below it: the whole tree opens.
    tree().collapseAll();
    tree().setCurrentItem(tree().topLevelItem(0));
    tree().ExpandAll();
    for (int root = 1; root < 3; ++root) EXPECT_TRUE(tree().topLevelItem(root)->isExpanded());
    for (int i = 0; i < trackInfo->childCount(); ++i) EXPECT_TRUE(trackInfo->child(i)->isExpanded());
}

TEST_F(AnalyzerTreeTest, NewerAnalysisSupersedesAndAFailedOneChangesNothing) {
    const std::string first = copyFixture("cbr128.mp3");
    const std::string second = copyFixture("mono64.mp3");
    QSignalSpy analysed(&tree(), &CXAnalyzerTree::analysed);
    tree().AnalyseFile(QString::fromStdString(first));
    tree().AnalyseFile(QString::fromStdString(second));
    ASSERT_TRUE(waitForAnalysis(analysed));
    EXPECT_FALSE(analysed.wait(300));
    EXPECT_EQ(analysed.count(), 1);
    EXPECT_EQ(tree().topLevelItem(0)->text(0), "mono64.mp3");

    analysed.clear();
    tree().AnalyseFile(QString::fromStdString(folder_.file("missing.mp3")));
    ASSERT_TRUE(analysed.wait(10000));
    EXPECT_NE(analysed.first().first().toInt(), 0);
    EXPECT_EQ(tree().topLevelItem(0)->text(0), "mono64.mp3");
    EXPECT_EQ(tree().filePath().toStdString(), second);
}

} // namespace
