#include "framework/BrowseEdit.h"

#include "framework/ControlId.h"
#include "framework/DialogRunner.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>

BrowseEdit::BrowseEdit(int controlId, QWidget* parent)
    : QWidget(parent), edit_(new QLineEdit(this)), button_(new QToolButton(this)) {
    ControlId::set(edit_, controlId);
    button_->setText(QStringLiteral("..."));
    button_->setToolTip(QStringLiteral("Select Directory"));
    button_->setAccessibleName(button_->toolTip());
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(edit_, 1);
    layout->addWidget(button_);
    connect(button_, &QToolButton::clicked, this, &BrowseEdit::browse);
}

QString BrowseEdit::text() const { return edit_->text(); }
void BrowseEdit::setText(const QString& text) { edit_->setText(text); }
void BrowseEdit::setReadOnly(bool readOnly) { edit_->setReadOnly(readOnly); }
void BrowseEdit::setBrowseEnabled(bool enabled) { button_->setEnabled(enabled); }

void BrowseEdit::browse() {
    const QString folder = DialogRunner::chooseFolder(this, edit_->text());
    if (folder.isEmpty()) return;
    edit_->setText(folder);
    emit folderChosen(folder);
}
