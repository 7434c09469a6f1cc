#include "shell/CAboutDlg.h"

#include "framework/CommandIcons.h"
#include "framework/ControlId.h"
#include "resources/ResourceIds.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CAboutDlg::CAboutDlg(const VersionBlock* module, QWidget* parent)
    : ModalDialog(parent), version_(module, "040904b0") {
    ControlId::set(this, IDD_ABOUTBOX);
    setWindowTitle(QStringLiteral("About VYX"));
    auto* icon = new QLabel(this);
    icon->setPixmap(CommandIcons::forResource(IDR_MAINFRAME).pixmap(32, 32));

    auto* fields = new QVBoxLayout;
    for (const auto& [id, placeholder] : {std::pair{IDC_PRODUCT_NAME, "ProductName"},
                                          std::pair{IDC_PRODUCT_VERSION, "ProductVersion"},
                                          std::pair{IDC_LEGAL_TEXT, "LegalCopyright"},
                                          std::pair{IDC_SPECIAL_BUILD, "SpecialBuild"},
                                          std::pair{IDC_PRIVATE_BUILD, "PrivateBuild"}})
        fields->addWidget(addField(id, QString::fromLatin1(placeholder)));

    QPushButton* ok = addOkButton();

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, Qt::AlignTop);
    layout->addLayout(fields, 0, 1);
    layout->addWidget(ok, 0, 2, Qt::AlignTop);
    setMinimumWidth(380);
}

QLabel* CAboutDlg::addField(int controlId, const QString& placeholder) {
    auto* field = new QLabel(placeholder, this);
    ControlId::set(field, controlId);
    field->setAlignment(Qt::AlignCenter);
    field->setTextFormat(Qt::PlainText);
    return field;
}

void CAboutDlg::initDialog() {
    auto read = [this](CVersion::VersionKey key) { return QString::fromStdString(version_.GetVersionString(key)); };
    fileDescription = read(CVersion::FileDescription);
    fileVersion = read(CVersion::FileVersion);
    legalText = read(CVersion::LegalCopyright);
    specialBuild = read(CVersion::SpecialBuild);
    productVersion = read(CVersion::ProductVersion);
    productName = read(CVersion::ProductName);
    privateBuild = read(CVersion::PrivateBuild);
    ControlId::find<QLabel>(this, IDC_LEGAL_TEXT)->setText(legalText);
    ControlId::find<QLabel>(this, IDC_SPECIAL_BUILD)->setText(specialBuild);
    ControlId::find<QLabel>(this, IDC_PRODUCT_NAME)->setText(productName);
    ControlId::find<QLabel>(this, IDC_PRODUCT_VERSION)->setText(productVersion);
    ControlId::find<QLabel>(this, IDC_PRIVATE_BUILD)->setText(privateBuild);
}
