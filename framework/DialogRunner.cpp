#include "framework/DialogRunner.h"

#include "framework/ModalDialog.h"

#include <QFileDialog>
#include <QMessageBox>

DialogRunner::Answerer& DialogRunner::answerer() {
    static Answerer current;
    return current;
}

void DialogRunner::setAnswerer(Answerer answerer) { DialogRunner::answerer() = std::move(answerer); }

int DialogRunner::run(QDialog& dialog) {
    if (auto* modal = qobject_cast<ModalDialog*>(&dialog)) modal->initDialog();
    if (answerer()) {
        dialog.setResult(QDialog::Rejected);
        return answerer()(dialog);
    }
    return dialog.exec();
}

void DialogRunner::information(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Information, title, text, QMessageBox::Ok, parent);
    run(box);
}

void DialogRunner::critical(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::Ok, parent);
    run(box);
}

QString DialogRunner::chooseFolder(QWidget* parent, const QString& start) {
    QFileDialog dialog(parent, QStringLiteral("Select Directory"), start);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (run(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}
