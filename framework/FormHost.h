#pragma once

#include <QString>

class QFileIconProvider;
class SettingsStore;

// What a module form may ask of the program around it. Each form is handed its host by its
// document template and reaches the settings, the program folder, the Help window and the
// directory tree only through it.
class FormHost {
public:
    virtual ~FormHost() = default;

    virtual SettingsStore& settings() = 0;
    // The folder of the program's data files, ending in a separator.
    virtual QString programFolder() const = 0;
    // The file and folder icons that every list and tree of the program shares.
    virtual QFileIconProvider& iconProvider() = 0;
    // Opens the Help window (or activates it) and shows the address, a file path or a web address.
    virtual void ShowHelpPage(const QString& address) = 0;
    // Selects the folder in the directory tree, which hands it to the active form; false when the
    // tree holds no such folder.
    virtual bool SelectFolder(const QString& path) = 0;

    // A page of the program's own help, by its file name in the folder "hlp" of the program folder.
    void showProgramHelp(const QString& pageName) { ShowHelpPage(programFolder() + QStringLiteral("hlp/") + pageName); }
};
