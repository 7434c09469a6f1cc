#include "shell/CAddUrl.h"

#include "framework/ControlId.h"
#include "resources/ResourceIds.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

CAddUrl::CAddUrl(QWidget* parent) : ModalDialog(parent), addressEdit_(new QLineEdit(this)), commentEdit_(new QLineEdit(this)) {
    ControlId::set(this, IDD_ADD_URL);
    setWindowTitle(QStringLiteral("Add URL"));
    ControlId::set(addressEdit_, IDC_URL);
    ControlId::set(commentEdit_, IDC_URL_COMMENT);
    QPushButton* ok = addOkButton();
    QPushButton* cancel = addCancelButton();

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("URL"), this), 0, 0);
    layout->addWidget(addressEdit_, 0, 1, 1, 3);
    layout->addWidget(new QLabel(QStringLiteral("Comment"), this), 1, 0);
    layout->addWidget(commentEdit_, 1, 1, 1, 3);
    layout->addWidget(ok, 2, 0, 1, 2, Qt::AlignLeft);
    layout->addWidget(cancel, 2, 3, Qt::AlignRight);
    setMinimumWidth(340);
}

void CAddUrl::initDialog() {
    addressEdit_->setText(address);
    commentEdit_->setText(comment);
}

void CAddUrl::saveFields() {
    comment = commentEdit_->text();
    address = addressEdit_->text();
}
