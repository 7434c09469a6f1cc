#pragma once

#include "framework/ModuleForm.h"
#include "shell/FolderHandlingForm.h"
#include "splitjoin/Splitter.h"
#include "splitjoin/forms/FormStatus.h"

#include <QWidget>

class BrowseEdit;
class CDirList;
class ChildFrame;
class Document;
class FormHost;
class QCheckBox;
class QComboBox;
class QLineEdit;

// The Encoder module's form (template 210): pick a file in the list, check the proposed part
// name, folder and split size, set the options and split. Settings live in section "Encoder".
class CEncodeView : public QWidget, public ModuleForm, public FolderHandlingForm {
    Q_OBJECT
public:
    CEncodeView(FormHost& host, ChildFrame& frame);
    ~CEncodeView() override;

    static QWidget* create(FormHost& host, Document& document, ChildFrame& frame);

    void initialUpdate(ChildFrame& frame) override;
    QString currentFolder() const override;
    void setCurrentFolder(const QString& folder) override;
    bool ReceiveFolder(const QString& folder) override;

    const SplitValues& values() const { return splitter_.values(); }
    CDirList* fileList() const { return list_; }
    FormStatus& status() { return status_; }

    // The split size entries, in list order.
    static const QStringList& splitSizes();

protected:
    // Every command works on what the controls show, also one given while a field is still
    // being edited (a toolbar button takes no focus, so the edit has not finished).
    void beforeCommand() override { takeValues(); }

private:
    void createControls();
    void createBars(ChildFrame& frame);
    void addCommands();
    void readSettings();
    void writeSettings() const;
    void takeValues();
    void showValues();
    void onFileClicked();
    void onSplitSizeChanged();
    void onFilterClicked();
    void Split();
    void showPage();
    void showHelp();

    FormHost& host_;
    FormStatus status_;
    Splitter splitter_;
    CDirList* list_ = nullptr;
    QLineEdit* sourceEdit_ = nullptr;
    QComboBox* sizeBox_ = nullptr;
    QLineEdit* countEdit_ = nullptr;
    QCheckBox* filterBox_ = nullptr;
    QLineEdit* keyEdit_ = nullptr;
    BrowseEdit* outputFolderEdit_ = nullptr;
    QLineEdit* outputNameEdit_ = nullptr;
    QCheckBox* cryptBox_ = nullptr;
    QCheckBox* geoBox_ = nullptr;
    QCheckBox* pageBox_ = nullptr;
    QCheckBox* dateBox_ = nullptr;
    QLineEdit* uploaderEdit_ = nullptr;
    bool filter_ = false;
};
