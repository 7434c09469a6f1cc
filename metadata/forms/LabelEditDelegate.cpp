#include "metadata/forms/LabelEditDelegate.h"

#include <QLineEdit>
#include <QPersistentModelIndex>

LabelEditDelegate::LabelEditDelegate(Begin begin, End end, QObject* parent)
    : QStyledItemDelegate(parent), begin_(std::move(begin)), end_(std::move(end)) {}

QWidget* LabelEditDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    // The begin step may run a dialog; the item must still exist when it returns.
    const QPersistentModelIndex item(index);
    if (begin_) begin_(index);
    if (!item.isValid()) return nullptr;
    return QStyledItemDelegate::createEditor(parent, option, item);
}

void LabelEditDelegate::setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const {
    const auto* line = qobject_cast<QLineEdit*>(editor);
    if (line && end_) end_(index, line->text());
}
