#pragma once

#include <QStyledItemDelegate>

#include <functional>

// In-place label editing with the begin and end steps in the owner's hands: begin runs before
// the edit box opens (it may change the item's text, which the box then shows); end gets the
// confirmed text and decides alone whether the item takes it. An abandoned edit (Escape) calls
// no end step and changes nothing.
class LabelEditDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using Begin = std::function<void(const QModelIndex&)>;
    using End = std::function<void(const QModelIndex&, const QString&)>;

    LabelEditDelegate(Begin begin, End end, QObject* parent = nullptr);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

private:
    Begin begin_;
    End end_;
};
