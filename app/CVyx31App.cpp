#include "app/CVyx31App.h"

#include "app/CDecoderDoc.h"
#include "app/ModuleForms.h"
#include "base/ProgramFolder.h"
#include "app/QtSettingsStore.h"
#include "base/StartupSettings.h"
#include "framework/DialogRunner.h"
#include "framework/QtText.h"
#include "resources/ResourceIds.h"
#include "resources/StringTable.h"
#include "shell/CAboutDlg.h"
#include "shell/CHelpDoc.h"
#include "shell/CMainFrame.h"
#include "transfer/forms/UploadForm.h"

#include <QApplication>
#include <QFileIconProvider>
#include <QLoggingCategory>
#include <QWidget>

#include <curl/curl.h>

CVyx31App::CVyx31App(QObject* parent) : QObject(parent) {
    addCommand(ID_APP_ABOUT, [this] { showAbout(); });
    addCommand(ID_FTP, [this] { openUploadForm(); });
    addEditCommands();
}

CVyx31App::~CVyx31App() { delete mainFrame_; }

SettingsStore& CVyx31App::settings() {
    if (!settings_) settings_ = std::make_unique<QtSettingsStore>();
    return *settings_;
}

QString CVyx31App::settingsFileName() const { return settings_ ? settings_->fileName() : QString(); }

DocTemplate& CVyx31App::docTemplate(ModuleId module) { return *templates_[index(module)]; }

void CVyx31App::ShowHelpPage(const QString& address) {
    if (mainFrame_) mainFrame_->ShowHelpPage(address);
}

bool CVyx31App::SelectFolder(const QString& path) { return mainFrame_ && mainFrame_->SelectFolder(path) != nullptr; }

bool CVyx31App::InitInstance() {
    // The network library's global start-up stands where the sockets start-up stood.
    if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) {
        DialogRunner::critical(nullptr, fromStd(StringTable::text(IDS_APP_TITLE)),
                               fromStd(StringTable::text(IDS_SOCKETS_INIT_FAILED)));
        return false;
    }
    networkStarted_ = true;
    // Qt WebEngine reports its graphics set-up each time it starts, a note for its own developers
    // that has no place on the user's terminal. QT_LOGGING_RULES still turns it on.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));

    const StartupFolders folders = StartupSettings::apply(settings(), ProgramFolder::current());
    programFolder_ = fromStd(folders.programFolder);
    helpHome_ = fromStd(folders.helpHome);

    createTemplates();
    ModuleForms::install(*this);
    iconProvider_ = std::make_unique<QFileIconProvider>();

    mainFrame_ = new CMainFrame(*this);
    if (!mainFrame_->create()) {
        delete mainFrame_;
        mainFrame_ = nullptr;
        return false;
    }
    mainFrame_->show();
    return true;
}

int CVyx31App::ExitInstance() {
    if (networkStarted_) curl_global_cleanup();
    networkStarted_ = false;
    return 0;
}

void CVyx31App::createTemplates() {
    auto decoderDocument = [] { return std::make_unique<CDecoderDoc>(); };
    auto make = [this](ModuleId module, int resourceId, const char* title, DocTemplate::DocumentFactory documents) {
        templates_[index(module)] = std::make_unique<DocTemplate>(resourceId, title, std::move(documents), *this);
    };
    make(ModuleId::Decoder, IDR_DECODER, "Decoder", decoderDocument);
    make(ModuleId::Player, IDR_PLAYER, "Player", decoderDocument);
    make(ModuleId::Encoder, IDR_ENCODER, "Encoder", decoderDocument);
    make(ModuleId::Converter, IDR_CONVERTER, "WAV / MP3 Converter", decoderDocument);
    make(ModuleId::Help, IDR_HELP, "Help", [] { return std::make_unique<CHelpDoc>(); });
}

// Cut, Copy, Paste and Undo act on the text field that has the focus, wherever it lies.
void CVyx31App::addEditCommands() {
    const std::pair<int, const char*> commands[] = {
        {ID_EDIT_CUT, "cut()"}, {ID_EDIT_COPY, "copy()"}, {ID_EDIT_PASTE, "paste()"}, {ID_EDIT_UNDO, "undo()"}};
    for (const auto& [id, slot] : commands) {
        const QByteArray signature(slot);
        auto focusedEditor = [signature]() -> QWidget* {
            QWidget* focus = QApplication::focusWidget();
            return focus && focus->metaObject()->indexOfSlot(signature.constData()) >= 0 ? focus : nullptr;
        };
        const QByteArray method = signature.left(signature.indexOf('('));
        addCommand(
            id, [focusedEditor, method] { QMetaObject::invokeMethod(focusedEditor(), method.constData()); },
            [focusedEditor](CommandState& state) { state.enabled = focusedEditor() != nullptr; });
    }
}

// One Upload window at most: the command brings an open one to the front.
void CVyx31App::openUploadForm() {
    if (!uploadForm_) {
        uploadForm_ = new UploadForm(*this, mainFrame_);
        uploadForm_->setAttribute(Qt::WA_DeleteOnClose);
    }
    uploadForm_->show();
    uploadForm_->raise();
    uploadForm_->activateWindow();
}

void CVyx31App::showAbout() {
    CAboutDlg about(nullptr, mainFrame_);
    DialogRunner::run(about);
}
