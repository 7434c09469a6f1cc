#pragma once

#include <QString>
#include <QStringList>

class CDirList;

// Real mouse clicks on a module's file list, as a user makes them.
namespace FileListClicks {

// A left click on the row of the file named name (fails the test when it is not shown).
void clickRow(CDirList& list, const QString& name, bool doubleClick = false);
// A left click on the list below its last row.
void clickEmptyArea(CDirList& list);
QStringList rowNames(const CDirList& list);

} // namespace FileListClicks
