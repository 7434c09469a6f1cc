#pragma once

#include <QString>

// The document of a module window. The modules keep their state in their forms, so a document
// is little more than its title.
class Document {
public:
    virtual ~Document() = default;
    QString title() const { return title_; }
    void setTitle(const QString& title) { title_ = title; }

private:
    QString title_;
};
