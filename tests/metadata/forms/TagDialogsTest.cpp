#include "framework/ControlId.h"
#include "framework/DialogRunner.h"
#include "metadata/forms/CGenre.h"
#include "metadata/forms/CID3Tag.h"
#include "metadata/forms/GenreBox.h"
#include "resources/ResourceIds.h"
#include "support/WindowTestApp.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include <functional>
#include <optional>

namespace {

class TagDialogsTest : public ::testing::Test {
protected:
    QApplication& app_ = WindowTestApp::instance();
};

// Runs the dialog through the runner; act gets it ready to show, as a person would see it.
int runDialog(ModalDialog& dialog, const std::function<void(QDialog&)>& act) {
    DialogAnswers answers({[&act](QDialog& shown) {
        act(shown);
        return DialogAnswers::accept(shown);
    }});
    return DialogRunner::run(dialog);
}

TEST_F(TagDialogsTest, GenreDialogSelectsIgnoringCaseAndFindsTheIndexExactly) {
    struct Case {
        QString given;
        std::optional<QString> typed;  // typed by hand into the box's edit field
        QString name;
        int index;
    };
    const Case cases[] = {
        {"rock", {}, "Rock", 17},                        // the selected entry replaces the given text
        {"Ro", {}, "Rock", 17},                          // first sorted entry beginning with it
        {"Psychedelic Rock", {}, "Psychedelic Rock", 93},
        {"Other", QString("rock"), "rock", -1},          // typed text is compared exactly
        {"Gabber", {}, "Gabber", -1},                    // no entry: the text stays
        {"", {}, "", -1},                                // no name selects nothing
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.given.toStdString());
        CGenre dialog;
        dialog.genreName = c.given;
        const int result = runDialog(dialog, [&c](QDialog& shown) {
            auto* box = ControlId::find<GenreBox>(&shown, IDC_GENRE_BOX);
            ASSERT_NE(box, nullptr);
            if (c.typed) {
                box->lineEdit()->clear();
                QTest::keyClicks(box->lineEdit(), *c.typed);
            }
        });
        EXPECT_EQ(result, QDialog::Accepted);
        EXPECT_EQ(dialog.genreName, c.name);
        EXPECT_EQ(dialog.genreIndex, c.index);
    }
}

TEST_F(TagDialogsTest, GenreBoxIsSortedAndCancelKeepsTheValues) {
    CGenre dialog;
    dialog.genreName = "rock";
    dialog.genreIndex = 5;
    DialogAnswers answers({[](QDialog& shown) {
        auto* box = ControlId::find<GenreBox>(&shown, IDC_GENRE_BOX);
        EXPECT_EQ(box->count(), 148);
        for (int row = 1; row < box->count(); ++row)
            EXPECT_LE(box->itemText(row - 1).compare(box->itemText(row), Qt::CaseInsensitive), 0);
        box->setEditText("Jazz");
        return DialogAnswers::reject(shown);
    }});
    EXPECT_EQ(DialogRunner::run(dialog), QDialog::Rejected);
    EXPECT_EQ(dialog.genreName, "rock");
    EXPECT_EQ(dialog.genreIndex, 5);
}

TEST_F(TagDialogsTest, TagDialogWithoutTagChoiceReturnsNoChoice) {
    CID3Tag dialog;
    dialog.genreName = "rock";
    const int result = runDialog(dialog, [](QDialog& shown) {
        for (int id : {IDC_ID3_V1, IDC_ID3_V2, IDC_ID3_BOTH}) EXPECT_FALSE(ControlId::find<QRadioButton>(&shown, id)->isChecked());
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(dialog.tagChoice, -1);
    EXPECT_EQ(dialog.genreName, "Rock");
    EXPECT_EQ(dialog.genreIndex, 17);
}

TEST_F(TagDialogsTest, TagDialogExchangesItsTextsWithinTheLimits) {
    CID3Tag dialog;
    dialog.title = QString(40, QChar('t'));  // a longer ID3v2 title is shown whole
    dialog.artist = "Artist";
    dialog.album = "Album";
    dialog.comment = "Comment";
    dialog.year = "1999";
    dialog.track = "7";
    dialog.genreName = "Psychedelic Rock";
    dialog.tagChoice = 1;
    const int result = runDialog(dialog, [](QDialog& shown) {
        EXPECT_TRUE(ControlId::find<QRadioButton>(&shown, IDC_ID3_V2)->isChecked());
        EXPECT_EQ(ControlId::find<QLineEdit>(&shown, IDC_ID3_TITLE)->text().size(), 40);
        auto* track = ControlId::find<QLineEdit>(&shown, IDC_ID3_TRACK);
        track->clear();
        QTest::keyClicks(track, "123");  // two characters at most
        auto* artist = ControlId::find<QLineEdit>(&shown, IDC_ID3_ARTIST);
        artist->clear();
        QTest::keyClicks(artist, QString(35, QChar('a')));
        ControlId::find<QRadioButton>(&shown, IDC_ID3_BOTH)->click();
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(dialog.title, QString(40, QChar('t')));
    EXPECT_EQ(dialog.artist, QString(30, QChar('a')));
    EXPECT_EQ(dialog.track, "12");
    EXPECT_EQ(dialog.year, "1999");
    EXPECT_EQ(dialog.genreName, "Psychedelic Rock");
    EXPECT_EQ(dialog.genreIndex, 93);
    EXPECT_EQ(dialog.tagChoice, 2);
}

} // namespace
