#include "framework/DocTemplate.h"

#include "framework/CommandIcons.h"

QIcon DocTemplate::icon() const { return CommandIcons::forResource(resourceId_); }

QWidget* DocTemplate::createForm(Document& document, ChildFrame& frame) {
    QWidget* form = formFactory_ ? formFactory_(host_, document, frame) : nullptr;
    if (form) {
        form_ = form;
        document_ = &document;
    }
    return form;
}

void DocTemplate::releaseForm(const QWidget* form) {
    if (!form || form_ != form) return;
    form_ = nullptr;
    document_ = nullptr;
}
