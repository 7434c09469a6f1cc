#pragma once

#include "base/MessageBoxSink.h"
#include "framework/ModuleForm.h"
#include "shell/FolderHandlingForm.h"
#include "splitjoin/Joiner.h"
#include "splitjoin/forms/FormStatus.h"
#include "splitjoin/forms/MakerWebPages.h"

#include <QTimer>
#include <QWidget>

#include <memory>

class BrowseEdit;
class CDirList;
class ChildFrame;
class Document;
class FormHost;
class QCheckBox;
class QLineEdit;
class QProgressDialog;
class QPushButton;
class QWebEngineView;
class WebJoinRun;

// The Decoder module's form (template 123): pick any part of a set in the list, see its type,
// count and proposed name, and join the set back. A web pane turns the maker's sponsor pages.
// Settings live in section "Settings".
class CViewDecoder : public QWidget, public ModuleForm, public FolderHandlingForm, public MessageBoxSink {
    Q_OBJECT
public:
    static constexpr int SponsorTimerId = 2002;
    static constexpr int FirstSponsorDelay = 1000;
    static constexpr int SponsorInterval = 10000;

    CViewDecoder(FormHost& host, ChildFrame& frame);
    ~CViewDecoder() override;

    static QWidget* create(FormHost& host, Document& document, ChildFrame& frame);

    void initialUpdate(ChildFrame& frame) override;
    QString currentFolder() const override;
    void setCurrentFolder(const QString& folder) override;
    bool ReceiveFolder(const QString& folder) override;
    void showStopBox(const std::string& text) override;

    const JoinValues& values() const { return joiner_.values(); }
    CDirList* fileList() const { return list_; }
    FormStatus& status() { return status_; }
    QWebEngineView* webPane() const { return web_; }
    int sponsorCounter() const { return sponsorCounter_; }
    const QTimer& sponsorTimer() const { return sponsorTimer_; }
    // The progress of a join from the web while one runs, else null.
    QProgressDialog* webJoinProgress() const { return webProgress_; }

private:
    void createControls();
    void createBars(ChildFrame& frame);
    void addCommands();
    void readSettings();
    void writeSettings() const;
    void writeJoinSettings() const;
    void takeValues();
    void showValues();
    void onFileClicked();
    void onFileDoubleClicked();
    void Join();
    void nextSponsorPage();
    void showHelp();
    void showCryptKeyPage();
    void checkSet();
    void openUrl();
    void startWebJoin(const std::string& address);
    void endWebJoin(bool joined, const QString& outputPath, const QString& stopBox);

    FormHost& host_;
    FormStatus status_;
    Joiner joiner_;
    MakerWebPages webPages_;
    QTimer sponsorTimer_;
    int sponsorCounter_ = 0;
    bool picked_ = false;
    CDirList* list_ = nullptr;
    QLineEdit* inputEdit_ = nullptr;
    QLineEdit* typeEdit_ = nullptr;
    QLineEdit* countEdit_ = nullptr;
    QCheckBox* autoDeleteBox_ = nullptr;
    BrowseEdit* outputFolderEdit_ = nullptr;
    QLineEdit* outputNameEdit_ = nullptr;
    QWebEngineView* web_ = nullptr;
    QLineEdit* keyEdit_ = nullptr;
    QPushButton* getKeyButton_ = nullptr;
    std::unique_ptr<WebJoinRun> webJoin_;
    QProgressDialog* webProgress_ = nullptr;
    QString lastAddress_;
};
