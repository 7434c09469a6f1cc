#include "shell/CFtpParameterDialog.h"

#include "framework/ControlId.h"
#include "resources/ResourceIds.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

CFtpParameterDialog::CFtpParameterDialog(QWidget* parent)
    : ModalDialog(parent), promptText_(new QLabel(QStringLiteral("Static"), this)), valueEdit_(new QLineEdit(this)) {
    ControlId::set(this, IDD_FTP_PARAMETER);
    setWindowTitle(QStringLiteral("Dialog"));
    ControlId::set(promptText_, IDC_PROMPT_TEXT);
    ControlId::set(valueEdit_, IDC_PROMPT_VALUE);
    promptText_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    promptText_->setMinimumSize(230, 50);

    QPushButton* ok = addOkButton();
    QPushButton* cancel = addCancelButton();

    auto* layout = new QGridLayout(this);
    layout->addWidget(promptText_, 0, 0, 2, 1);
    layout->addWidget(ok, 0, 1);
    layout->addWidget(cancel, 1, 1, Qt::AlignTop);
    layout->addWidget(valueEdit_, 2, 0, 1, 2);
    setMinimumWidth(340);
}

void CFtpParameterDialog::initDialog() {
    promptText_->setText(QString(prompt).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    valueEdit_->setText(value);
    if (!caption.isEmpty()) setWindowTitle(caption);
}

void CFtpParameterDialog::saveFields() {
    // The prompt label is not editable; only the value comes back.
    value = valueEdit_->text();
}
