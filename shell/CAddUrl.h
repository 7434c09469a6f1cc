#pragma once

#include "framework/ModalDialog.h"

class QLineEdit;

// Asks for an address and a comment (dialog template 294); the Player form adds the address
// to its playlist.
class CAddUrl : public ModalDialog {
    Q_OBJECT
public:
    explicit CAddUrl(QWidget* parent = nullptr);

    QString comment;
    QString address;

    void initDialog() override;

protected:
    void saveFields() override;

private:
    QLineEdit* addressEdit_;
    QLineEdit* commentEdit_;
};
