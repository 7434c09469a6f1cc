#pragma once

#include <QWidget>

#include <memory>
#include <string>
#include <thread>

class FormHost;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class Uploader;
struct UploadProgress;

// The Upload window behind the FTP command: a set (any of its parts), the server address, remote
// folder, user, password and SFTP key file, a progress bar for the part in transfer and one for
// the whole set, Upload and Cancel. The upload engine runs on a worker thread; the window only
// shows what the engine tells. The address, folder, user and key file are settings (section
// "Upload"); the password goes to the desktop's secret store when "Remember password" is
// checked, never into the settings file.
class UploadForm : public QWidget {
    Q_OBJECT
public:
    explicit UploadForm(FormHost& host, QWidget* parent = nullptr);
    ~UploadForm() override;

    QLineEdit* partEdit() const { return part_; }
    QLineEdit* addressEdit() const { return address_; }
    QLineEdit* folderEdit() const { return folder_; }
    QLineEdit* userEdit() const { return user_; }
    QLineEdit* passwordEdit() const { return password_; }
    QLineEdit* keyFileEdit() const { return keyFile_; }
    QCheckBox* rememberBox() const { return remember_; }
    QProgressBar* partBar() const { return partBar_; }
    QProgressBar* setBar() const { return setBar_; }
    QPushButton* uploadButton() const { return upload_; }
    QPushButton* cancelButton() const { return cancel_; }
    QLabel* passwordNote() const { return passwordNote_; }
    // The last line of the log: where the upload stands, or why it ended.
    QString statusText() const { return statusText_; }
    bool isUploading() const { return worker_.joinable(); }

    // The Upload button: checks the set and starts the worker; false when nothing started.
    bool startUpload();
    void cancelUpload();

signals:
    void uploadFinished(bool success);

private:
    QWidget* makeFields();
    void browseForPart();
    void loadSettings();
    void saveSettings();
    void showPasswordNote();
    void fillKeptPassword();
    void keepOrForgetPassword();
    std::string secretServer() const;
    void setBusy(bool busy);
    void addStatus(const QString& text);
    void showProgress(const UploadProgress& progress);
    void finishUpload(bool success, const QString& failure);

    FormHost& host_;
    QLineEdit* part_;
    QLineEdit* address_;
    QLineEdit* folder_;
    QLineEdit* user_;
    QLineEdit* password_;
    QLineEdit* keyFile_;
    QCheckBox* remember_;
    QLabel* passwordNote_;
    QLabel* fileLabel_;
    QProgressBar* partBar_;
    QProgressBar* setBar_;
    QPlainTextEdit* log_;
    QPushButton* upload_;
    QPushButton* cancel_;
    QString statusText_;
    bool cancelling_ = false;

    class Listener;
    std::unique_ptr<Listener> listener_;
    std::unique_ptr<Uploader> uploader_;
    std::thread worker_;
};
