#include "support/WindowTestApp.h"

#include "framework/DialogRunner.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QSettings>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string_view>

namespace {

TempFolder& testFolder() {
    static TempFolder folder;
    return folder;
}

}  // namespace

std::string WindowTestApp::configFolder() { return testFolder().file("config"); }
std::string WindowTestApp::homeFolder() { return testFolder().file("home"); }
std::string WindowTestApp::settingsFile() { return configFolder() + "/OzmoMp3s/vyx31.conf"; }

QApplication& WindowTestApp::instance() {
    static QApplication* application = [] {
        std::filesystem::create_directories(configFolder());
        std::filesystem::create_directories(homeFolder());
        // The offscreen screen as large as the virtual X screen of the gui tests, so that the main
        // window keeps its own size rather than the size of the platform's small default screen.
        const std::string screens = testFolder().file("offscreen.json");
        std::ofstream(screens) << R"({"screens": [{"name": "offscreen", "x": 0, "y": 0, "width": 1280,)"
                                  R"( "height": 1024, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})";
        // A platform chosen with options of its own (or xcb under Xvfb) is left as it is.
        const char* platform = std::getenv("QT_QPA_PLATFORM");
        if (platform == nullptr || std::string_view(platform) == "offscreen")
            ::setenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + screens).c_str(), 1);
        ::setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 1);
        ::setenv("XDG_CONFIG_HOME", configFolder().c_str(), 1);
        ::setenv("HOME", homeFolder().c_str(), 1);
        static int argc = 1;
        static char name[] = "quarvel-window-test";
        static char* argv[] = {name, nullptr};
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
        return new QApplication(argc, argv);
    }();
    return *application;
}

void WindowTestApp::clearSettings() {
    instance();
    QSettings settings(QStringLiteral("OzmoMp3s"), QStringLiteral("vyx31"));
    settings.clear();
    settings.sync();
}

bool WindowTestApp::waitUntil(const std::function<bool()>& condition, int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > milliseconds) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        // Windows closed with delete-on-close go only when deferred deletions run.
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return true;
}

DialogAnswers::DialogAnswers(std::vector<Answer> answers) : answers_(std::move(answers)) {
    DialogRunner::setAnswerer([this](QDialog& dialog) {
        const auto* box = qobject_cast<QMessageBox*>(&dialog);
        seen_.push_back(Seen{dialog.windowTitle(), box ? box->text() : QString()});
        const std::size_t index = seen_.size() - 1;
        return index < answers_.size() ? answers_[index](dialog) : reject(dialog);
    });
}

DialogAnswers::~DialogAnswers() { DialogRunner::setAnswerer({}); }

int DialogAnswers::accept(QDialog& dialog) {
    dialog.accept();
    return dialog.result();
}

int DialogAnswers::reject(QDialog& dialog) {
    dialog.reject();
    return dialog.result();
}
