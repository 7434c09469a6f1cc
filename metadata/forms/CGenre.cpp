#include "metadata/forms/CGenre.h"

#include "framework/ControlId.h"
#include "metadata/forms/GenreBox.h"
#include "resources/ResourceIds.h"

#include <QGridLayout>
#include <QPushButton>

CGenre::CGenre(QWidget* parent) : ModalDialog(parent), box_(new GenreBox(this)) {
    ControlId::set(this, IDD_GENRE);
    setWindowTitle(QStringLiteral("Genre"));
    ControlId::set(box_, IDC_GENRE_BOX);
    QPushButton* ok = addOkButton();
    QPushButton* cancel = addCancelButton();

    auto* layout = new QGridLayout(this);
    layout->addWidget(box_, 0, 0, 1, 2);
    layout->addWidget(ok, 1, 0, Qt::AlignLeft);
    layout->addWidget(cancel, 1, 1, Qt::AlignRight);
    setMinimumWidth(240);
}

void CGenre::initDialog() { box_->showGenre(genreName, 0); }

void CGenre::saveFields() {
    genreName = box_->genreName();
    genreIndex = box_->genreIndex();
}
