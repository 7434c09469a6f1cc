#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

// An edit box with a button that opens the folder dialog "Select Directory" at the edit's text;
// the chosen folder replaces the text.
class BrowseEdit : public QWidget {
    Q_OBJECT
public:
    explicit BrowseEdit(int controlId, QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& text);
    void setReadOnly(bool readOnly);
    void setBrowseEnabled(bool enabled);
    QLineEdit* edit() const { return edit_; }
    QToolButton* browseButton() const { return button_; }

signals:
    void folderChosen(const QString& folder);

private:
    void browse();

    QLineEdit* edit_;
    QToolButton* button_;
};
