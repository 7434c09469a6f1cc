#pragma once

#include <QString>

// What the directory tree needs of a module form that shows folders (Decoder, Encoder, Player,
// Converter): its current folder, and ReceiveFolder, which lists the folder in the form's file
// list and answers whether that worked.
class FolderHandlingForm {
public:
    virtual ~FolderHandlingForm() = default;
    virtual QString currentFolder() const = 0;
    virtual void setCurrentFolder(const QString& folder) = 0;
    virtual bool ReceiveFolder(const QString& folder) = 0;
};
