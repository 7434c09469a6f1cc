#pragma once

#include "framework/Document.h"

#include <QIcon>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

class ChildFrame;
class FormHost;

// What opens one module window: the module's resource id (its menu, icon and toolbar), its
// title, a document factory and the factory of its form. The form factory is plugged in by the
// module; while a module has none, its window simply does not open. The template hands each
// form its host and keeps the live form: a module's window exists while form() is not null.
class DocTemplate {
public:
    using DocumentFactory = std::function<std::unique_ptr<Document>()>;
    using FormFactory = std::function<QWidget*(FormHost& host, Document& document, ChildFrame& frame)>;

    DocTemplate(int resourceId, QString title, DocumentFactory documentFactory, FormHost& host)
        : resourceId_(resourceId), title_(std::move(title)), documentFactory_(std::move(documentFactory)),
          host_(host) {}

    int resourceId() const { return resourceId_; }
    QString title() const { return title_; }
    QIcon icon() const;

    void setFormFactory(FormFactory factory) { formFactory_ = std::move(factory); }
    bool hasForm() const { return static_cast<bool>(formFactory_); }

    // A new document, or null when it cannot be made.
    std::unique_ptr<Document> createDocument() const { return documentFactory_ ? documentFactory_() : nullptr; }
    // The module's form inside frame, from then on the live form; null when the module has no
    // form (yet) or it failed.
    QWidget* createForm(Document& document, ChildFrame& frame);
    // The frame of the live form is going: the module's window no longer exists.
    void releaseForm(const QWidget* form);

    // The live form and its document, or null when the module's window does not exist.
    QWidget* form() const { return form_; }
    Document* document() const { return form_ ? document_ : nullptr; }

private:
    int resourceId_;
    QString title_;
    DocumentFactory documentFactory_;
    FormHost& host_;
    FormFactory formFactory_;
    QPointer<QWidget> form_;
    Document* document_ = nullptr;
};
