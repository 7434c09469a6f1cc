#pragma once

#include "splitjoin/SetChecker.h"

#include <QDialog>

class QLabel;
class QListWidget;

// The result of a set check, one line per part ("my_song03.ppt: damaged (checksum ...)") under
// a summary line that says whether the set joins.
class SetCheckDialog : public QDialog {
    Q_OBJECT
public:
    SetCheckDialog(const SetChecker::Result& result, QWidget* parent = nullptr);

    static QString summary(const SetChecker::Result& result);

    QListWidget* partList() const { return parts_; }
    QLabel* summaryLabel() const { return summary_; }

private:
    QLabel* summary_ = nullptr;
    QListWidget* parts_ = nullptr;
};
