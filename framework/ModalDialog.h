#pragma once

#include <QDialog>

class QPushButton;

// A modal dialog that exchanges its fields with its controls: into the controls when it opens,
// back from them when OK is pressed. Cancel and the close box leave the fields as they were.
class ModalDialog : public QDialog {
    Q_OBJECT
public:
    using QDialog::QDialog;

    // Copies the fields into the controls; the dialog runner calls it before the dialog shows.
    virtual void initDialog() {}
    void accept() override {
        saveFields();
        QDialog::accept();
    }

protected:
    // Copies the controls back into the fields.
    virtual void saveFields() {}
    // "OK" (id 1, the default button) and "Cancel" (id 2), wired to end the dialog.
    QPushButton* addOkButton();
    QPushButton* addCancelButton();
};
