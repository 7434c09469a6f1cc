#include "metadata/forms/CID3Tag.h"

#include "framework/ControlId.h"
#include "metadata/forms/GenreBox.h"
#include "resources/ResourceIds.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

CID3Tag::CID3Tag(QWidget* parent) : ModalDialog(parent), genreBox_(new GenreBox(this)), choice_(new QButtonGroup(this)) {
    ControlId::set(this, IDD_ID3TAG);
    setWindowTitle(QStringLiteral("ID3 Tag"));
    auto* layout = new QGridLayout(this);
    titleEdit_ = addEdit(IDC_ID3_TITLE, QStringLiteral("Titel"), 0);
    artistEdit_ = addEdit(IDC_ID3_ARTIST, QStringLiteral("Artist"), 1);
    albumEdit_ = addEdit(IDC_ID3_ALBUM, QStringLiteral("Album"), 2);
    commentEdit_ = addEdit(IDC_ID3_COMMENT, QStringLiteral("Comment"), 3);
    yearEdit_ = addEdit(IDC_ID3_YEAR, QStringLiteral("Year"), 4);
    trackEdit_ = addEdit(IDC_ID3_TRACK, QStringLiteral("Track"), 5);

    ControlId::set(genreBox_, IDC_ID3_GENRE);
    layout->addWidget(new QLabel(QStringLiteral("Genre"), this), 6, 0);
    layout->addWidget(genreBox_, 6, 1, 1, 2);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(new QLabel(QStringLiteral("ID3"), this));
    const std::pair<int, const char*> radios[] = {{IDC_ID3_V1, "V1"}, {IDC_ID3_V2, "V2"}, {IDC_ID3_BOTH, "Both"}};
    for (int choice = 0; choice < 3; ++choice) {
        auto* radio = new QRadioButton(QString::fromLatin1(radios[choice].second), this);
        ControlId::set(radio, radios[choice].first);
        choice_->addButton(radio, choice);
        buttons->addWidget(radio);
    }
    buttons->addStretch();
    layout->addLayout(buttons, 7, 0, 1, 3);

    layout->addWidget(addOkButton(), 8, 0, 1, 2, Qt::AlignLeft);
    layout->addWidget(addCancelButton(), 8, 2, Qt::AlignRight);
    setMinimumWidth(360);
}

QLineEdit* CID3Tag::addEdit(int id, const QString& label, int row) {
    auto* edit = new QLineEdit(this);
    ControlId::set(edit, id);
    auto* layout = static_cast<QGridLayout*>(this->layout());
    layout->addWidget(new QLabel(label, this), row, 0);
    layout->addWidget(edit, row, 1, 1, 2);
    return edit;
}

// The limit holds for typing; a longer text that the file already carries is shown whole, so
// that OK never cuts a text the user did not touch.
void CID3Tag::showLimited(QLineEdit* edit, const QString& text, int limit) {
    edit->setMaxLength(std::max(limit, static_cast<int>(text.size())));
    edit->setText(text);
}

void CID3Tag::initDialog() {
    showLimited(titleEdit_, title, 30);
    showLimited(artistEdit_, artist, 30);
    showLimited(albumEdit_, album, 30);
    showLimited(commentEdit_, comment, 28);
    showLimited(yearEdit_, year, 4);
    showLimited(trackEdit_, track, 2);
    // An exclusive group cannot clear its checked button; -1 shows no button set.
    choice_->setExclusive(false);
    for (QAbstractButton* button : choice_->buttons()) button->setChecked(choice_->id(button) == tagChoice);
    choice_->setExclusive(true);
    genreBox_->showGenre(genreName, 1);
}

void CID3Tag::saveFields() {
    title = titleEdit_->text();
    artist = artistEdit_->text();
    album = albumEdit_->text();
    comment = commentEdit_->text();
    year = yearEdit_->text();
    track = trackEdit_->text();
    tagChoice = choice_->checkedId();
    genreName = genreBox_->genreName();
    genreIndex = genreBox_->genreIndex();
}
