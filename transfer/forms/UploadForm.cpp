#include "transfer/forms/UploadForm.h"

#include "base/SettingsStore.h"
#include "framework/DialogRunner.h"
#include "framework/FormHost.h"
#include "framework/QtText.h"
#include "transfer/UploadAddress.h"
#include "transfer/UploadListener.h"
#include "transfer/UploadSet.h"
#include "transfer/Uploader.h"
#include "transfer/forms/PasswordKeeper.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <exception>

namespace {

constexpr const char* kSection = "Upload";

// Parts per thousand, as the bars show them.
int permille(std::uint64_t done, std::uint64_t total) {
    return total == 0 ? 1000 : static_cast<int>(done * 1000 / total);
}

} // namespace

// Hands the engine's calls from the worker thread to the window's thread. Progress comes many
// times a second; only a change the bars can show is passed on.
class UploadForm::Listener : public UploadListener {
public:
    explicit Listener(UploadForm* form) : form_(form) {}

    void progress(const UploadProgress& progress) override {
        const int part = permille(progress.fileDone, progress.fileSize);
        const int set = permille(progress.setDone, progress.setSize);
        const std::size_t file = progress.file;
        if (part == lastPart_ && set == lastSet_ && file == lastFile_) return;
        lastPart_ = part;
        lastSet_ = set;
        lastFile_ = file;
        QMetaObject::invokeMethod(form_, [form = form_, progress] { form->showProgress(progress); }, Qt::QueuedConnection);
    }
    void status(const std::string& text) override {
        QMetaObject::invokeMethod(form_, [form = form_, text = fromStd(text)] { form->addStatus(text); }, Qt::QueuedConnection);
    }
    void failed(const std::string& message) override { failure_ = fromStd(message); }

    // Called on the worker thread as its last act.
    void finished(bool success) {
        QMetaObject::invokeMethod(form_, [form = form_, success, failure = failure_] { form->finishUpload(success, failure); },
                                  Qt::QueuedConnection);
    }

private:
    UploadForm* form_;
    int lastPart_ = -1;
    int lastSet_ = -1;
    std::size_t lastFile_ = static_cast<std::size_t>(-1);
    QString failure_;
};

UploadForm::UploadForm(FormHost& host, QWidget* parent) : QWidget(parent, Qt::Window), host_(host) {
    setObjectName(QStringLiteral("UploadForm"));
    setWindowTitle(QStringLiteral("Upload"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(makeFields());

    fileLabel_ = new QLabel(this);
    partBar_ = new QProgressBar(this);
    setBar_ = new QProgressBar(this);
    for (QProgressBar* bar : {partBar_, setBar_}) {
        bar->setRange(0, 1000);
        bar->setValue(0);
        bar->setFormat(QStringLiteral("%p%"));
    }
    partBar_->setAccessibleName(QStringLiteral("Part progress"));
    setBar_->setAccessibleName(QStringLiteral("Set progress"));
    auto* bars = new QFormLayout;
    bars->addRow(QStringLiteral("Part:"), partBar_);
    bars->addRow(QStringLiteral("Set:"), setBar_);
    layout->addWidget(fileLabel_);
    layout->addLayout(bars);

    log_ = new QPlainTextEdit(this);
    log_->setReadOnly(true);
    log_->setAccessibleName(QStringLiteral("Upload messages"));
    layout->addWidget(log_, 1);

    upload_ = new QPushButton(QStringLiteral("&Upload"), this);
    cancel_ = new QPushButton(QStringLiteral("&Cancel"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(upload_);
    buttons->addWidget(cancel_);
    layout->addLayout(buttons);
    upload_->setDefault(true);
    connect(upload_, &QPushButton::clicked, this, [this] { startUpload(); });
    connect(cancel_, &QPushButton::clicked, this, &UploadForm::cancelUpload);

    loadSettings();
    setBusy(false);
    resize(560, 520);
}

QWidget* UploadForm::makeFields() {
    auto* fields = new QWidget(this);
    auto* form = new QFormLayout(fields);
    auto edit = [fields](const char* name, const QString& placeholder = {}) {
        auto* line = new QLineEdit(fields);
        line->setObjectName(QString::fromLatin1(name));
        line->setPlaceholderText(placeholder);
        return line;
    };
    part_ = edit("part", QStringLiteral("any part of the set, for example my_song00.ppt"));
    auto* browse = new QToolButton(fields);
    browse->setText(QStringLiteral("..."));
    browse->setAccessibleName(QStringLiteral("Choose a part"));
    connect(browse, &QToolButton::clicked, this, &UploadForm::browseForPart);
    auto* partRow = new QHBoxLayout;
    partRow->addWidget(part_);
    partRow->addWidget(browse);
    auto* partLabel = new QLabel(QStringLiteral("&Set:"), fields);
    partLabel->setBuddy(part_);
    form->addRow(partLabel, partRow);

    address_ = edit("address", QStringLiteral("ftp://, ftps://, sftp://, http:// or https:// (WebDAV)"));
    folder_ = edit("folder", QStringLiteral("below the address; made when missing"));
    user_ = edit("user");
    password_ = edit("password");
    password_->setEchoMode(QLineEdit::Password);
    keyFile_ = edit("keyFile", QStringLiteral("SFTP only: a private key file"));
    remember_ = new QCheckBox(QStringLiteral("&Remember password"), fields);
    remember_->setObjectName(QStringLiteral("remember"));
    passwordNote_ = new QLabel(fields);
    passwordNote_->setWordWrap(true);
    form->addRow(QStringLiteral("Server &address:"), address_);
    form->addRow(QStringLiteral("Remote &folder:"), folder_);
    form->addRow(QStringLiteral("&User:"), user_);
    form->addRow(QStringLiteral("&Password:"), password_);
    form->addRow(QString(), remember_);
    form->addRow(QString(), passwordNote_);
    form->addRow(QStringLiteral("&Key file:"), keyFile_);
    connect(remember_, &QCheckBox::toggled, this, &UploadForm::showPasswordNote);
    connect(address_, &QLineEdit::editingFinished, this, &UploadForm::fillKeptPassword);
    connect(user_, &QLineEdit::editingFinished, this, &UploadForm::fillKeptPassword);
    return fields;
}

UploadForm::~UploadForm() {
    if (worker_.joinable()) {
        // The engine looks at its cancel flag at least once a second, also while it connects.
        uploader_->cancel();
        worker_.join();
    }
    saveSettings();
}

void UploadForm::browseForPart() {
    QFileDialog dialog(this, QStringLiteral("Choose a part of the set"), part_->text());
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({QStringLiteral("Parts (*.ppt *.s[0-9][0-9])"), QStringLiteral("All files (*)")});
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (DialogRunner::run(dialog) == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        part_->setText(dialog.selectedFiles().first());
}

void UploadForm::loadSettings() {
    const SettingsStore& settings = host_.settings();
    part_->setText(fromStd(settings.getText(kSection, "LastPart", "")));
    address_->setText(fromStd(settings.getText(kSection, "Address", "")));
    folder_->setText(fromStd(settings.getText(kSection, "RemoteFolder", "")));
    user_->setText(fromStd(settings.getText(kSection, "User", "")));
    keyFile_->setText(fromStd(settings.getText(kSection, "KeyFile", "")));
    remember_->setChecked(settings.getInt(kSection, "RememberPassword", 0) != 0);
    fillKeptPassword();
    showPasswordNote();
}

void UploadForm::saveSettings() {
    SettingsStore& settings = host_.settings();
    settings.writeText(kSection, "LastPart", toStd(part_->text()));
    settings.writeText(kSection, "Address", toStd(address_->text()));
    settings.writeText(kSection, "RemoteFolder", toStd(folder_->text()));
    settings.writeText(kSection, "User", toStd(user_->text()));
    settings.writeText(kSection, "KeyFile", toStd(keyFile_->text()));
    settings.writeInt(kSection, "RememberPassword", remember_->isChecked() ? 1 : 0);
}

void UploadForm::showPasswordNote() {
    const std::string reason = PasswordKeeper::unavailableReason();
    passwordNote_->setText(remember_->isChecked() && !reason.empty()
                               ? fromStd("The password is not remembered: " + reason + ".")
                               : QString());
    passwordNote_->setVisible(!passwordNote_->text().isEmpty());
}

// The secret is filed under the address without user name and password, and the user.
std::string UploadForm::secretServer() const {
    std::string problem;
    const auto address = UploadAddress::parse(toStd(address_->text().trimmed()), {}, problem);
    return address ? address->shown() : std::string();
}

void UploadForm::fillKeptPassword() {
    if (!remember_->isChecked() || !password_->text().isEmpty()) return;
    const std::string server = secretServer();
    if (server.empty()) return;
    if (const auto kept = PasswordKeeper::lookup(server, toStd(user_->text()))) password_->setText(fromStd(*kept));
}

void UploadForm::keepOrForgetPassword() {
    const std::string server = secretServer();
    if (server.empty()) return;
    const std::string user = toStd(user_->text());
    if (!remember_->isChecked()) {
        PasswordKeeper::forget(server, user);
        return;
    }
    std::string problem;
    if (!PasswordKeeper::store(server, user, toStd(password_->text()), problem))
        addStatus(fromStd("The password is not remembered: " + problem));
}

void UploadForm::setBusy(bool busy) {
    for (QWidget* field : std::initializer_list<QWidget*>{part_, address_, folder_, user_, password_, keyFile_, remember_})
        field->setEnabled(!busy);
    upload_->setEnabled(!busy);
    cancel_->setEnabled(busy);
}

void UploadForm::addStatus(const QString& text) {
    statusText_ = text;
    log_->appendPlainText(text);
}

void UploadForm::showProgress(const UploadProgress& progress) {
    fileLabel_->setText(QStringLiteral("%1 (%2 of %3)")
                            .arg(fromStd(progress.fileName))
                            .arg(progress.file + 1)
                            .arg(progress.fileCount));
    partBar_->setValue(permille(progress.fileDone, progress.fileSize));
    setBar_->setValue(permille(progress.setDone, progress.setSize));
}

bool UploadForm::startUpload() {
    if (worker_.joinable()) return false;
    log_->clear();
    partBar_->setValue(0);
    setBar_->setValue(0);
    fileLabel_->clear();
    std::string problem;
    const auto set = UploadSet::find(toStd(part_->text().trimmed()), problem);
    if (!set) {
        addStatus(part_->text().trimmed().isEmpty() ? QStringLiteral("Choose a part of the set to upload") : fromStd(problem));
        return false;
    }
    saveSettings();
    keepOrForgetPassword();

    UploadRequest request;
    request.address = toStd(address_->text().trimmed());
    request.remoteFolder = toStd(folder_->text().trimmed());
    request.user = toStd(user_->text());
    request.password = toStd(password_->text());
    request.identityFile = toStd(keyFile_->text().trimmed());
    request.knownHostsFile = UploadRequest::userKnownHostsFile();
    listener_ = std::make_unique<Listener>(this);
    uploader_ = std::make_unique<Uploader>(request, *listener_);
    setBusy(true);
    worker_ = std::thread([uploader = uploader_.get(), listener = listener_.get(), files = *set] {
        bool success = false;
        try {
            success = uploader->upload(files);
        } catch (const std::exception& error) {
            listener->failed(error.what());
        }
        listener->finished(success);
    });
    return true;
}

void UploadForm::cancelUpload() {
    if (!uploader_ || !worker_.joinable()) return;
    uploader_->cancel();
    cancelling_ = true;
    cancel_->setEnabled(false);
    addStatus(QStringLiteral("Cancelling..."));
}

void UploadForm::finishUpload(bool success, const QString& failure) {
    if (worker_.joinable()) worker_.join();
    uploader_.reset();
    listener_.reset();
    setBusy(false);
    if (!success) {
        const QString reason = failure.isEmpty() ? QStringLiteral("The upload failed") : failure;
        addStatus(reason);
        // A cancel the user asked for is no failure to be told of in a box.
        if (!cancelling_) DialogRunner::critical(this, windowTitle(), reason);
    }
    cancelling_ = false;
    emit uploadFinished(success);
}
