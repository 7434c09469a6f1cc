#include "support/ModuleFormTest.h"

#include "shell/CDirList.h"
#include "support/FileBytes.h"
#include "support/WindowTestApp.h"

#include <QAction>
#include <QApplication>
#include <QMdiSubWindow>

#include <filesystem>

void ModuleFormTest::SetUp() {
    WindowTestApp::instance();
    WindowTestApp::clearSettings();
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = WindowTestApp::homeFolder() + "/" + test->test_suite_name() + "_" + test->name();
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    app_ = std::make_unique<CVyx31App>();
    ASSERT_TRUE(app_->InitInstance());
}

void ModuleFormTest::TearDown() {
    app_->ExitInstance();
    app_.reset();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void ModuleFormTest::close(ModuleId module) {
    if (ChildFrame* child = frame().childOf(module)) child->closeWithoutAsking();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

bool ModuleFormTest::enabled(int command) {
    frame().commands().updateAll();
    return frame().commands().action(command)->isEnabled();
}

void ModuleFormTest::selectFolder(const std::string& path) {
    ASSERT_NE(frame().SelectFolder(QString::fromStdString(path)), nullptr) << path;
}

std::string ModuleFormTest::makeFolder(const std::string& name) const {
    const std::string made = path(name);
    std::filesystem::create_directories(made);
    return made;
}

void ModuleFormTest::writeFile(const std::string& name, const std::vector<std::uint8_t>& content) const {
    FileBytes::write(path(name), content);
}

