#pragma once

#include "app/ModuleId.h"
#include "framework/CommandTarget.h"
#include "framework/DocTemplate.h"

#include <QObject>
#include <QString>

#include <array>
#include <memory>
#include <string>

class CMainFrame;
class QFileIconProvider;
class QtSettingsStore;
class SettingsStore;
class QWidget;

// The application object: starts the program, owns the settings store, the five document
// templates and the main frame, and is where the module windows find each other: each live
// module form registers itself here.
class CVyx31App : public QObject, public CommandTarget {
    Q_OBJECT
public:
    explicit CVyx31App(QObject* parent = nullptr);
    ~CVyx31App() override;

    // The one application object of the run, or null before it exists.
    static CVyx31App* instance();

    // Start-up; false ends the program.
    bool InitInstance();
    int ExitInstance();

    SettingsStore& settings();
    QString settingsFileName() const;
    DocTemplate& docTemplate(ModuleId module);
    CMainFrame* mainFrame() const { return mainFrame_; }
    QFileIconProvider& iconProvider() { return *iconProvider_; }

    // The live form of the module, or null when its window does not exist.
    QWidget* form(ModuleId module) const { return forms_[index(module)]; }
    void setForm(ModuleId module, QWidget* form) { forms_[index(module)] = form; }
    Document* helpDocument() const { return helpDocument_; }
    void setHelpDocument(Document* document) { helpDocument_ = document; }

    QString programFolder() const { return programFolder_; }
    QString helpHome() const { return helpHome_; }
    std::string decoderUserKey;
    // The module forms choose the style of their folder-browse fields by this flag.
    bool windows2000OrLater() const { return true; }

private:
    static std::size_t index(ModuleId module) { return static_cast<std::size_t>(module); }
    void createTemplates();
    void addEditCommands();
    void showAbout();

    std::unique_ptr<QtSettingsStore> settings_;
    std::array<std::unique_ptr<DocTemplate>, 5> templates_;
    std::array<QWidget*, 5> forms_{};
    std::unique_ptr<QFileIconProvider> iconProvider_;
    CMainFrame* mainFrame_ = nullptr;
    Document* helpDocument_ = nullptr;
    QString programFolder_;
    QString helpHome_;
    bool networkStarted_ = false;
};
