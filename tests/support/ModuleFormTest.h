#pragma once

#include "app/CVyx31App.h"
#include "base/SettingsStore.h"
#include "framework/ChildFrame.h"
#include "framework/ControlId.h"
#include "shell/CMainFrame.h"
#include "support/FileListClicks.h"
#include "support/FileSizeLimit.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QString>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CDirList;
class QWidget;

using FileListClicks::clickEmptyArea;
using FileListClicks::clickRow;
using FileListClicks::rowNames;

// The real program around a module form: the application object with its settings file in a
// temporary config folder, the main frame, and a fresh folder under the home folder that the
// directory tree can select.
class ModuleFormTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens the module's window through the frame and answers its form.
    template <typename Form>
    Form* open(ModuleId module) {
        frame().OpenModuleWindow(module);
        form_ = app_->form(module);
        return dynamic_cast<Form*>(form_);
    }
    // A control of the form opened last, by its id.
    template <typename Control>
    Control* control(int id) const { return ControlId::find<Control>(form_, id); }
    QString text(int id) const { return control<QLineEdit>(id)->text(); }
    // Whether the command is enabled after an update pass.
    bool enabled(int command);
    // Closes the module's window; the form is destroyed and writes its settings.
    void close(ModuleId module);

    CMainFrame& frame() { return *app_->mainFrame(); }
    SettingsStore& settings() { return app_->settings(); }
    // Hands the folder to the active form through the directory tree.
    void selectFolder(const std::string& folder);

    std::string folder() const { return folder_; }
    std::string path(const std::string& name) const { return folder_ + "/" + name; }
    std::string makeFolder(const std::string& name) const;
    void writeFile(const std::string& name, const std::vector<std::uint8_t>& content) const;


    std::unique_ptr<CVyx31App> app_;

private:
    QWidget* form_ = nullptr;
    std::string folder_;
};

