#pragma once

#include <QList>
#include <QObject>
#include <QVariant>

// The numeric id by which the program addresses a control, menu or bar, kept on the object so
// that code and tests can find it again.
class ControlId {
public:
    static void set(QObject* object, int id) {
        object->setProperty("controlId", id);
        object->setObjectName(QStringLiteral("id_%1").arg(id));
    }

    static int of(const QObject* object) {
        const QVariant id = object->property("controlId");
        return id.isValid() ? id.toInt() : 0;
    }

    // The first descendant of root of type T carrying the id, or null.
    template <typename T>
    static T* find(const QObject* root, int id) {
        return root->findChild<T*>(QStringLiteral("id_%1").arg(id));
    }
};
