#include "support/FileListClicks.h"

#include "shell/CDirList.h"

#include <QTest>
#include <gtest/gtest.h>

namespace FileListClicks {

void clickRow(CDirList& list, const QString& name, bool doubleClick) {
    const QList<QTreeWidgetItem*> found = list.findItems(name, Qt::MatchExactly, CDirList::NameColumn);
    ASSERT_EQ(found.size(), 1) << name.toStdString();
    list.scrollToItem(found.front());
    const QPoint center = list.visualItemRect(found.front()).center();
    if (doubleClick)
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, center);
    else
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, center);
}

void clickEmptyArea(CDirList& list) {
    const QPoint below(10, list.viewport()->height() - 3);
    ASSERT_EQ(list.itemAt(below), nullptr) << "the list has no empty area to click";
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, below);
}

QStringList rowNames(const CDirList& list) {
    QStringList names;
    for (int i = 0; i < list.topLevelItemCount(); ++i) names.append(list.topLevelItem(i)->text(CDirList::NameColumn));
    return names;
}

} // namespace FileListClicks
