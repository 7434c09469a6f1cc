#pragma once

#include "converter/EncoderCommandLine.h"
#include "framework/ModuleForm.h"
#include "shell/FolderHandlingForm.h"

#include <QWidget>

class BrowseEdit;
class CDirList;
class ChildFrame;
class Document;
class FormHost;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QSlider;
class StatusBar;

// The Converter module's form (template 212): select WAV or MP3 files in the list, set the
// encoder options and Start Convert; one encoder process per file runs on its own, and the box
// below the options tells what was started and how each run ended. Settings live in section
// "Converter".
class CViewConverter : public QWidget, public ModuleForm, public FolderHandlingForm {
    Q_OBJECT
public:
    CViewConverter(FormHost& host, ChildFrame& frame);
    ~CViewConverter() override;

    static QWidget* create(FormHost& host, Document& document, ChildFrame& frame);

    void initialUpdate(ChildFrame& frame) override;
    QString currentFolder() const override;
    void setCurrentFolder(const QString& folder) override;
    bool ReceiveFolder(const QString& folder) override;

    const ConverterValues& values() const { return values_; }
    EncoderCommandLine::RateMode rateMode() const { return rateMode_; }
    CDirList* fileList() const { return list_; }

    // The entries of the boxes, in list order.
    static const QStringList& channels();
    static const QStringList& bitrates();
    static const QStringList& bitrateModes();
    static const QStringList& qualities();

signals:
    // An encoder that this form started has ended; report is the line the box shows.
    void encoderEnded(const QString& report, int exitCode);

private:
    void createControls();
    QComboBox* addComboBox(int id, const QStringList& entries);
    void createBars(ChildFrame& frame);
    void addCommands();
    void readSettings();
    void writeSettings() const;
    void takeValues();
    void showValues();
    void UpdateControls();
    void UpdateRateMode();
    void applyRateMode(const std::string& bitrateModeText);
    void Convert();
    void startEncoder(const QString& program, const EncoderCommand& command, const QString& fileName);
    void report(const QString& line);
    void showRunning();
    void showHelp();

    FormHost& host_;
    ConverterValues values_;
    EncoderCommandLine::RateMode rateMode_ = EncoderCommandLine::Constant;
    int running_ = 0;
    CDirList* list_ = nullptr;
    QComboBox* encoderBox_ = nullptr;
    QComboBox* channelBox_ = nullptr;
    QComboBox* minBox_ = nullptr;
    QComboBox* maxBox_ = nullptr;
    QComboBox* avgBox_ = nullptr;
    QComboBox* modeBox_ = nullptr;
    QSlider* vbrSlider_ = nullptr;
    QComboBox* qualityBox_ = nullptr;
    QCheckBox* scaleBox_ = nullptr;
    QLineEdit* scaleEdit_ = nullptr;
    BrowseEdit* outputFolderEdit_ = nullptr;
    QPlainTextEdit* reportBox_ = nullptr;
    StatusBar* statusBar_ = nullptr;
};
