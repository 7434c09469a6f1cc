#include "metadata/forms/GenreBox.h"

#include "metadata/GenreTable.h"

#include <QLineEdit>

#include <algorithm>

GenreBox::GenreBox(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // With duplicates allowed, Enter does not replace the typed text by a matching entry.
    setDuplicatesEnabled(true);
    setCompleter(nullptr);
    setMaxVisibleItems(20);
    QStringList names;
    for (std::string_view name : GenreTable::names())
        names.append(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    std::stable_sort(names.begin(), names.end(),
                     [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    addItems(names);
}

void GenreBox::showGenre(const QString& name, int firstRow) {
    setCurrentIndex(-1);
    setEditText(name);
    if (name.isEmpty() || count() == 0) return;
    for (int step = 0; step < count(); ++step) {
        const int row = (firstRow + step) % count();
        if (itemText(row).startsWith(name, Qt::CaseInsensitive)) {
            setCurrentIndex(row);
            return;
        }
    }
}

int GenreBox::genreIndex() const { return GenreTable::indexOf(genreName().toStdString()); }
