#pragma once

#include "framework/ModalDialog.h"

class GenreBox;
class QButtonGroup;
class QLineEdit;

// Edits all tag texts of a file at once (dialog template 293). tagChoice is 0 "V1", 1 "V2",
// 2 "Both", -1 when no button is set. After OK, genreIndex is the genre number of exactly the
// genre name, -1 when no genre has that name.
class CID3Tag : public ModalDialog {
    Q_OBJECT
public:
    explicit CID3Tag(QWidget* parent = nullptr);

    QString title, artist, album, comment, year, track, genreName;
    int tagChoice = -1;
    int genreIndex = -1;

    void initDialog() override;

protected:
    void saveFields() override;

private:
    QLineEdit* addEdit(int id, const QString& label, int row);
    static void showLimited(QLineEdit* edit, const QString& text, int limit);

    QLineEdit *titleEdit_, *artistEdit_, *albumEdit_, *commentEdit_, *yearEdit_, *trackEdit_;
    GenreBox* genreBox_;
    QButtonGroup* choice_;
};
