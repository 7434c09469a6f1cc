#pragma once

#include <QLabel>
#include <QString>

// The static text in front of a control. It becomes the control's buddy and its accessible
// name, so that a screen reader announces the field by the words the form shows beside it.
class ControlLabel {
public:
    static QLabel* create(const QString& text, QWidget* control, QWidget* parent) {
        auto* label = new QLabel(text, parent);
        label->setBuddy(control);
        if (control->accessibleName().isEmpty()) control->setAccessibleName(QString(text).remove(QLatin1Char('&')));
        return label;
    }
};
