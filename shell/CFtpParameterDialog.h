#pragma once

#include "framework/ModalDialog.h"

class QLabel;
class QLineEdit;

// A one-line text prompt under a message of several lines (dialog template 121): the directory
// tree renames and creates folders with it, the file list renames files.
class CFtpParameterDialog : public ModalDialog {
    Q_OBJECT
public:
    explicit CFtpParameterDialog(QWidget* parent = nullptr);

    QString prompt;   // may hold "\r\n" line breaks
    QString value;    // pre-filled by the caller, read after OK
    QString caption;  // the window title when not empty; else the template's "Dialog"

    void initDialog() override;

protected:
    void saveFields() override;

private:
    QLabel* promptText_;
    QLineEdit* valueEdit_;
};
