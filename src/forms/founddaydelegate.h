#pragma once

#include <QStyledItemDelegate>

// Paints a found day as its date, then the matching line with the match on a
// marker-pen background; the start of a long line gives way so that the match
// stays in view. An unreadable note's line is grey.
class FoundDayDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
