#pragma once

#include <QComboBox>

// The genre box of the Genre and ID3 Tag dialogs: a drop-down list of the genre names, sorted,
// with an edit field in which any text may be typed. The typed text stays as typed: there is no
// completion and no silent change of its letter case.
class GenreBox : public QComboBox {
    Q_OBJECT
public:
    explicit GenreBox(QWidget* parent = nullptr);

    // Shows name: selects the first entry that begins with it, letter case ignored, searching
    // from entry `firstRow` to the last and then from the top; keeps name in the edit field when
    // no entry begins with it. An empty name selects no entry.
    void showGenre(const QString& name, int firstRow);
    QString genreName() const { return currentText(); }
    // The genre number whose name equals the edit field exactly (letter case counts), -1 for none.
    int genreIndex() const;
};
