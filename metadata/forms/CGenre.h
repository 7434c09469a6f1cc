#pragma once

#include "framework/ModalDialog.h"

class GenreBox;

// Picks a genre by name (dialog template 292). After OK, genreName is the text of the box's edit
// field and genreIndex the genre number of exactly that name, -1 when no genre has that name.
class CGenre : public ModalDialog {
    Q_OBJECT
public:
    explicit CGenre(QWidget* parent = nullptr);

    QString genreName;
    int genreIndex = -1;

    void initDialog() override;

protected:
    void saveFields() override;

private:
    GenreBox* box_;
};
