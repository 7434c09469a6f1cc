#include "resources/ResourceIds.h"
#include "splitjoin/SplitSize.h"
#include "splitjoin/Splitter.h"
#include "support/FileBytes.h"
#include "support/ModuleFormTest.h"
#include "support/RecordingSinks.h"
#include "support/Screenshot.h"
#include "support/WindowTestApp.h"
#include "transfer/UploadServers.h"
#include "transfer/forms/PasswordKeeper.h"
#include "transfer/forms/UploadForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QtTest/QTest>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <cstdlib>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

// Under a virtual X server (the test labelled gui) the window is saved as a screenshot in the
// folder QUARVEL_SCREENSHOT_DIR names; elsewhere nothing happens.
void saveScreenshot(QWidget& window, const QString& name) {
    if (qEnvironmentVariable("QUARVEL_SCREENSHOT_DIR").isEmpty()) return;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QImage image = Screenshot::save(window, name, 0).toImage();
    bool drawn = false; // a window that drew nothing is one colour
    for (int y = 0; y < image.height() && !drawn; y += 4)
        for (int x = 0; x < image.width() && !drawn; x += 4) drawn = image.pixel(x, y) != image.pixel(0, 0);
    EXPECT_TRUE(drawn);
}

// The Upload window as the FTP command opens it in the real program, sending to the HTTP PUT
// server of the tests.
class UploadFormTest : public ModuleFormTest {
protected:
    void SetUp() override {
        ModuleFormTest::SetUp();
        if (const std::string missing = UploadServer::missingForHttp(); !missing.empty()) GTEST_SKIP() << missing;
        fs::create_directories(remote());
        FileBytes::write(path("song.mp3"), FileBytes::pattern(1'000'000));
        RecordingSinks sinks;
        Splitter splitter(sinks);
        splitter.values().splitSize = SplitSize("0.4 MB");
        splitter.values().outputFolder = folder();
        splitter.DeriveOutputName(path("song.mp3"));
        ASSERT_TRUE(splitter.Split());
    }

    UploadForm* openUpload() {
        frame().commands().execute(ID_FTP);
        return dynamic_cast<UploadForm*>(app_->uploadForm());
    }

    void fill(UploadForm& form, const std::string& address) {
        form.partEdit()->setText(QString::fromStdString(path("song01.ppt")));
        form.addressEdit()->setText(QString::fromStdString(address));
        form.folderEdit()->setText(QStringLiteral("sets"));
        form.userEdit()->setText(QStringLiteral("bob"));
        form.passwordEdit()->setText(QStringLiteral("pw-in-the-form"));
    }

    // Starts the upload and waits for its end (a failsafe limit, not a timing check).
    bool uploadAndWait(UploadForm& form) {
        bool finished = false, success = false;
        QObject watcher;
        QObject::connect(&form, &UploadForm::uploadFinished, &watcher, [&](bool ok) { finished = true, success = ok; });
        if (!form.startUpload()) return false;
        EXPECT_TRUE(WindowTestApp::waitUntil([&] { return finished; }, 120'000));
        return success;
    }

    std::string remote() const { return path("remote"); }
};

TEST_F(UploadFormTest, FtpCommandIsEnabledAndOpensOneUploadWindow) {
    EXPECT_TRUE(enabled(ID_FTP));
    UploadForm* form = openUpload();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(openUpload(), form);
    EXPECT_FALSE(form->cancelButton()->isEnabled());
}

TEST_F(UploadFormTest, UploadsTheSetShowsProgressAndKeepsNoPasswordInTheSettings) {
    ::unsetenv("DBUS_SESSION_BUS_ADDRESS"); // no secret store: the form says the password is not kept
    UploadServer server = UploadServer::http(remote(), {"--user", "bob", "--password", "pw-in-the-form"});
    UploadForm* form = openUpload();
    ASSERT_NE(form, nullptr);
    fill(*form, server.url("http", "/"));
    form->rememberBox()->setChecked(true);
    EXPECT_TRUE(form->passwordNote()->text().contains(QStringLiteral("not remembered"))) << form->passwordNote()->text().toStdString();

    DialogAnswers answers;
    ASSERT_TRUE(uploadAndWait(*form)) << form->statusText().toStdString();
    for (const char* name : {"song00.ppt", "song01.ppt", "song02.ppt", "song.html"})
        EXPECT_EQ(FileBytes::read(remote() + "/sets/" + name), FileBytes::read(path(name))) << name;
    EXPECT_EQ(form->partBar()->value(), form->partBar()->maximum());
    EXPECT_EQ(form->setBar()->value(), form->setBar()->maximum());
    EXPECT_TRUE(form->statusText().startsWith(QStringLiteral("Ready, 4 files uploaded")));
    EXPECT_TRUE(answers.seen().empty());
    EXPECT_TRUE(form->uploadButton()->isEnabled());
    EXPECT_FALSE(form->cancelButton()->isEnabled());
    saveScreenshot(*form, QStringLiteral("upload.png"));

    form->close(); // the window goes and writes its settings
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(settings().getText("Upload", "Address", ""), server.url("http", "/"));
    EXPECT_EQ(settings().getText("Upload", "User", ""), "bob");
    EXPECT_EQ(settings().getInt("Upload", "RememberPassword", 0), 1);
    EXPECT_EQ(FileBytes::readText(WindowTestApp::settingsFile()).find("pw-in-the-form"), std::string::npos);
}

// Runs under with_secret_store.sh, which starts a secret store of its own (the test labelled secrets).
TEST_F(UploadFormTest, RememberedPasswordComesBackFromTheSecretStoreAndIsForgottenWhenUnchecked) {
    if (!std::getenv("QUARVEL_SECRET_STORE")) GTEST_SKIP() << "needs the secret store of with_secret_store.sh";
    ASSERT_EQ(PasswordKeeper::unavailableReason(), "");
    UploadServer server = UploadServer::http(remote(), {"--user", "bob", "--password", "pw-in-the-form"});
    const auto reopen = [&] {
        app_->uploadForm()->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return openUpload();
    };
    UploadForm* form = openUpload();
    fill(*form, server.url("http", "/"));
    form->rememberBox()->setChecked(true);
    EXPECT_TRUE(form->passwordNote()->text().isEmpty());
    ASSERT_TRUE(uploadAndWait(*form)) << form->statusText().toStdString();

    form = reopen();
    EXPECT_EQ(form->passwordEdit()->text(), QStringLiteral("pw-in-the-form"));
    EXPECT_EQ(FileBytes::readText(WindowTestApp::settingsFile()).find("pw-in-the-form"), std::string::npos);
    form->rememberBox()->setChecked(false);
    ASSERT_TRUE(uploadAndWait(*form)) << form->statusText().toStdString();

    form = reopen();
    form->rememberBox()->setChecked(true); // a kept password would be filled in now
    form->addressEdit()->editingFinished();
    EXPECT_TRUE(form->passwordEdit()->text().isEmpty());
}

TEST_F(UploadFormTest, FailureComesInABoxAndCancelEndsQuietly) {
    UploadServer server = UploadServer::http(remote());
    UploadForm* form = openUpload();
    ASSERT_NE(form, nullptr);
    {
        fill(*form, "webspace.example/sets");
        DialogAnswers answers;
        EXPECT_FALSE(uploadAndWait(*form));
        ASSERT_EQ(answers.seen().size(), 1u);
        EXPECT_TRUE(answers.seen().front().text.contains(QStringLiteral("Not an upload address"))) << answers.seen().front().text.toStdString();
    }
    {
        fill(*form, server.url("http", "/"));
        DialogAnswers answers;
        bool finished = false;
        QObject watcher;
        QObject::connect(form, &UploadForm::uploadFinished, &watcher, [&] { finished = true; });
        ASSERT_TRUE(form->startUpload());
        EXPECT_FALSE(form->uploadButton()->isEnabled());
        form->cancelUpload();
        EXPECT_TRUE(WindowTestApp::waitUntil([&] { return finished; }, 120'000));
        EXPECT_EQ(form->statusText(), QStringLiteral("Upload cancelled"));
        EXPECT_TRUE(answers.seen().empty());
        EXPECT_TRUE(form->uploadButton()->isEnabled());
    }
    // A set that is not whole is not sent at all, and nothing starts.
    fs::remove(path("song02.ppt"));
    EXPECT_FALSE(form->startUpload());
    EXPECT_TRUE(form->statusText().contains(QStringLiteral("song02.ppt is missing")));
    EXPECT_FALSE(form->isUploading());
}

} // namespace
