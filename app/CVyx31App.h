#pragma once

#include "framework/ModuleId.h"
#include "framework/CommandTarget.h"
#include "framework/DocTemplate.h"
#include "framework/FormHost.h"
#include "framework/ModuleRegistry.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <array>
#include <memory>

class CMainFrame;
class QFileIconProvider;
class QtSettingsStore;
class SettingsStore;
class QWidget;

// The application object: starts the program, owns the settings store, the five document
// templates and the main frame. It is the host of every module form: the forms reach the
// settings, the program folder, the Help window and the directory tree through it.
class CVyx31App : public QObject, public CommandTarget, public FormHost, public ModuleRegistry {
    Q_OBJECT
public:
    explicit CVyx31App(QObject* parent = nullptr);
    ~CVyx31App() override;

    // Start-up; false ends the program.
    bool InitInstance();
    int ExitInstance();

    SettingsStore& settings() override;
    QString settingsFileName() const;
    DocTemplate& docTemplate(ModuleId module) override;
    CMainFrame* mainFrame() const { return mainFrame_; }
    QFileIconProvider& iconProvider() override { return *iconProvider_; }

    // The live form of the module, or null when its window does not exist.
    QWidget* form(ModuleId module) const { return templates_[index(module)] ? templates_[index(module)]->form() : nullptr; }
    // The document of the live Help window, or null.
    Document* helpDocument() const {
        const auto& help = templates_[index(ModuleId::Help)];
        return help ? help->document() : nullptr;
    }

    CommandTarget& applicationCommands() override { return *this; }
    QString programFolder() const override { return programFolder_; }
    QString helpHome() const { return helpHome_; }
    void ShowHelpPage(const QString& address) override;
    bool SelectFolder(const QString& path) override;
    // The Upload window the FTP command opened, or null.
    QWidget* uploadForm() const { return uploadForm_; }

private:
    static std::size_t index(ModuleId module) { return static_cast<std::size_t>(module); }
    void createTemplates();
    void addEditCommands();
    void showAbout();
    void openUploadForm();

    std::unique_ptr<QtSettingsStore> settings_;
    std::array<std::unique_ptr<DocTemplate>, 5> templates_;
    std::unique_ptr<QFileIconProvider> iconProvider_;
    CMainFrame* mainFrame_ = nullptr;
    QString programFolder_;
    QString helpHome_;
    bool networkStarted_ = false;
    QPointer<QWidget> uploadForm_;
};
