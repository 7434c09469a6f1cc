#include "framework/ModalDialog.h"

#include "framework/ControlId.h"
#include "resources/ResourceIds.h"

#include <QPushButton>

QPushButton* ModalDialog::addOkButton() {
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ControlId::set(ok, IDOK);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    return ok;
}

QPushButton* ModalDialog::addCancelButton() {
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    ControlId::set(cancel, IDCANCEL);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    return cancel;
}
