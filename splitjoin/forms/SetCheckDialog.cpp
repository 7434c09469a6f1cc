#include "splitjoin/forms/SetCheckDialog.h"

#include "framework/QtText.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QStyle>
#include <QVBoxLayout>

SetCheckDialog::SetCheckDialog(const SetChecker::Result& result, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Check Set"));
    summary_ = new QLabel(summary(result), this);
    summary_->setWordWrap(true);
    summary_->setObjectName(QStringLiteral("summary"));
    parts_ = new QListWidget(this);
    parts_->setObjectName(QStringLiteral("parts"));
    const QIcon sound = QApplication::style()->standardIcon(QStyle::SP_DialogApplyButton);
    const QIcon faulty = QApplication::style()->standardIcon(QStyle::SP_MessageBoxCritical);
    for (const SetChecker::PartResult& part : result.parts)
        new QListWidgetItem(part.status == SetChecker::Status::Ok ? sound : faulty, fromStd(SetChecker::line(part)), parts_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary_);
    layout->addWidget(parts_, 1);
    layout->addWidget(buttons);
    resize(480, 360);
}

QString SetCheckDialog::summary(const SetChecker::Result& result) {
    QString what;
    switch (result.kind) {
    case SetChecker::Kind::None: return QStringLiteral("No set to check");
    case SetChecker::Kind::Old: what = QStringLiteral("OLD file for ") + fromStd(result.name); break;
    case SetChecker::Kind::Enc: what = QStringLiteral("ENC file for ") + fromStd(result.name); break;
    case SetChecker::Kind::Set:
        what = QStringLiteral("Set of %1 parts for ").arg(result.partCount) + fromStd(result.name);
        break;
    }
    if (result.sound()) return what + QStringLiteral(": complete and sound");
    std::uint64_t faulty = 0;
    for (const SetChecker::PartResult& part : result.parts)
        if (part.status != SetChecker::Status::Ok) faulty += part.run;
    return what + QStringLiteral(": %1 %2 missing or faulty, the set does not join")
                      .arg(faulty)
                      .arg(faulty == 1 ? QStringLiteral("part") : QStringLiteral("parts"));
}
