#pragma once

#include "framework/Document.h"

#include <QIcon>
#include <QString>

#include <functional>
#include <memory>

class ChildFrame;
class QWidget;

// What opens one module window: the module's resource id (its menu, icon and toolbar), its
// title, a document factory and the factory of its form. The form factory is plugged in by the
// module; while a module has none, its window simply does not open.
class DocTemplate {
public:
    using DocumentFactory = std::function<std::unique_ptr<Document>()>;
    using FormFactory = std::function<QWidget*(Document& document, ChildFrame& frame)>;

    DocTemplate(int resourceId, QString title, DocumentFactory documentFactory)
        : resourceId_(resourceId), title_(std::move(title)), documentFactory_(std::move(documentFactory)) {}

    int resourceId() const { return resourceId_; }
    QString title() const { return title_; }
    QIcon icon() const;

    void setFormFactory(FormFactory factory) { formFactory_ = std::move(factory); }
    bool hasForm() const { return static_cast<bool>(formFactory_); }

    // A new document, or null when it cannot be made.
    std::unique_ptr<Document> createDocument() const { return documentFactory_ ? documentFactory_() : nullptr; }
    // The module's form inside frame, or null when the module has no form (yet) or it failed.
    QWidget* createForm(Document& document, ChildFrame& frame) const {
        return formFactory_ ? formFactory_(document, frame) : nullptr;
    }

private:
    int resourceId_;
    QString title_;
    DocumentFactory documentFactory_;
    FormFactory formFactory_;
};
