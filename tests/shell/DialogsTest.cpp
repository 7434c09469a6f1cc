#include "framework/ControlId.h"
#include "framework/DialogRunner.h"
#include "resources/ResourceIds.h"
#include "shell/CAboutDlg.h"
#include "shell/CAddUrl.h"
#include "shell/CFtpParameterDialog.h"
#include "support/WindowTestApp.h"

#include <QLabel>
#include <QLayout>
#include <QLineEdit>

#include <gtest/gtest.h>

namespace {

class DialogsTest : public ::testing::Test {
protected:
    void SetUp() override { WindowTestApp::instance(); }

    template <typename T>
    static T* control(QDialog& dialog, int id) {
        T* found = ControlId::find<T>(&dialog, id);
        EXPECT_NE(found, nullptr) << "control " << id;
        return found;
    }
};

}  // namespace

TEST_F(DialogsTest, PromptShowsItsLinesAndThePrefilledValueAndOkReturnsTheEdit) {
    CFtpParameterDialog dialog;
    dialog.prompt = QStringLiteral("Rename\r\n/home/me/song.mp3\r\nto");
    dialog.value = QStringLiteral("song.mp3");
    dialog.caption = QStringLiteral("Rename");
    DialogAnswers answers({[](QDialog& shown) {
        EXPECT_EQ(control<QLabel>(shown, IDC_PROMPT_TEXT)->text().split('\n'),
                  (QStringList{"Rename", "/home/me/song.mp3", "to"}));
        EXPECT_EQ(control<QLineEdit>(shown, IDC_PROMPT_VALUE)->text(), QStringLiteral("song.mp3"));
        control<QLineEdit>(shown, IDC_PROMPT_VALUE)->setText(QStringLiteral("tune.mp3"));
        return DialogAnswers::accept(shown);
    }});
    EXPECT_EQ(DialogRunner::run(dialog), QDialog::Accepted);
    EXPECT_EQ(dialog.value, QStringLiteral("tune.mp3"));
    EXPECT_EQ(answers.seen()[0].title, QStringLiteral("Rename"));
}

TEST_F(DialogsTest, PromptCancelKeepsTheCallersValueAndAnEmptyCaptionKeepsTheTemplateCaption) {
    CFtpParameterDialog dialog;
    dialog.prompt = QStringLiteral("Create directory on\r\n/home/me\r\n");
    dialog.value = QStringLiteral("pre-filled");
    DialogAnswers answers({[](QDialog& shown) {
        EXPECT_EQ(control<QLabel>(shown, IDC_PROMPT_TEXT)->text().split('\n'),
                  (QStringList{"Create directory on", "/home/me", ""}));
        control<QLineEdit>(shown, IDC_PROMPT_VALUE)->setText(QStringLiteral("edited"));
        return DialogAnswers::reject(shown);
    }});
    EXPECT_EQ(DialogRunner::run(dialog), QDialog::Rejected);
    EXPECT_EQ(dialog.value, QStringLiteral("pre-filled"));
    EXPECT_EQ(answers.seen()[0].title, QStringLiteral("Dialog"));
}

TEST_F(DialogsTest, AddUrlReturnsBothFieldsEvenWithAnEmptyCommentAndNothingOnCancel) {
    CAddUrl dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Add URL"));
    DialogAnswers answers({[](QDialog& shown) {
                               control<QLineEdit>(shown, IDC_URL)->setText(QStringLiteral("http://127.0.0.1/a.mp3"));
                               return DialogAnswers::accept(shown);
                           },
                           [](QDialog& shown) {
                               control<QLineEdit>(shown, IDC_URL)->setText(QStringLiteral("http://other"));
                               control<QLineEdit>(shown, IDC_URL_COMMENT)->setText(QStringLiteral("note"));
                               return DialogAnswers::reject(shown);
                           }});
    EXPECT_EQ(DialogRunner::run(dialog), QDialog::Accepted);
    EXPECT_EQ(dialog.address, QStringLiteral("http://127.0.0.1/a.mp3"));
    EXPECT_EQ(dialog.comment, QString());
    EXPECT_EQ(DialogRunner::run(dialog), QDialog::Rejected);
    EXPECT_EQ(dialog.address, QStringLiteral("http://127.0.0.1/a.mp3"));
    EXPECT_EQ(dialog.comment, QString());
}

TEST_F(DialogsTest, AboutBoxShowsTheVersionBlockFromTopToBottom) {
    CAboutDlg about;
    DialogAnswers answers({DialogAnswers::accept});
    DialogRunner::run(about);
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About VYX"));
    EXPECT_EQ(control<QLabel>(about, IDC_PRODUCT_NAME)->text(), QStringLiteral("Quarvel 3.1"));
    EXPECT_EQ(control<QLabel>(about, IDC_PRODUCT_VERSION)->text(), QStringLiteral("3.1.0.2"));
    EXPECT_EQ(control<QLabel>(about, IDC_LEGAL_TEXT)->text(), about.legalText);
    EXPECT_FALSE(about.legalText.isEmpty());
    EXPECT_EQ(control<QLabel>(about, IDC_SPECIAL_BUILD)->text(), QString());
    EXPECT_EQ(about.fileVersion, QStringLiteral("3.1.0.2"));

    about.adjustSize();
    about.layout()->activate();
    int lastTop = -1;
    for (const int id : {IDC_PRODUCT_NAME, IDC_PRODUCT_VERSION, IDC_LEGAL_TEXT, IDC_SPECIAL_BUILD, IDC_PRIVATE_BUILD}) {
        const int top = control<QLabel>(about, id)->geometry().top();
        EXPECT_GT(top, lastTop) << "control " << id;
        lastTop = top;
    }
}

TEST_F(DialogsTest, AboutBoxWithoutAVersionBlockShowsEmptyFields) {
    const VersionBlock none;
    CAboutDlg about(&none);
    DialogAnswers answers({DialogAnswers::accept});
    DialogRunner::run(about);
    for (const int id : {IDC_PRODUCT_NAME, IDC_PRODUCT_VERSION, IDC_LEGAL_TEXT, IDC_SPECIAL_BUILD, IDC_PRIVATE_BUILD})
        EXPECT_EQ(control<QLabel>(about, id)->text(), QString()) << id;
}
