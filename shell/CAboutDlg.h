#pragma once

#include "framework/ModalDialog.h"
#include "base/CVersion.h"

class QLabel;
class VersionBlock;

// The about box (dialog template 100): product name, product version, legal text, special
// build and private build, all read from the program's version block.
class CAboutDlg : public ModalDialog {
    Q_OBJECT
public:
    // module null reads the program's own version block.
    explicit CAboutDlg(const VersionBlock* module = nullptr, QWidget* parent = nullptr);

    void initDialog() override;

    QString legalText;
    QString specialBuild;
    QString productName;
    QString productVersion;
    QString privateBuild;
    QString fileVersion;
    QString fileDescription;

private:
    QLabel* addField(int controlId, const QString& placeholder);

    CVersion version_;
};
