#include "forms/founddaydelegate.h"

#include "forms/founddaysmodel.h"

#include <QApplication>
#include <QPainter>

namespace {

// Pixels around the text of a row.
constexpr int kPadding = 4;
// Black on the yellow of a marker pen reads in light and dark themes alike.
const QColor kMarkerColor(255, 213, 79);

// Draws `text` at the pen position and moves it on; returns false once the
// row's right edge has been passed.
bool drawPiece(QPainter &painter, QPoint &pen, int right, const QString &text)
{
    painter.drawText(pen, text);
    pen.rx() += painter.fontMetrics().horizontalAdvance(text);
    return pen.x() < right;
}

} // namespace

void FoundDayDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                             const QModelIndex &index) const
{
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    background.text.clear();
    const QStyle *style = option.widget ? option.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &background, painter, option.widget);

    const bool isSelected = option.state & QStyle::State_Selected;
    const QColor textColor =
        option.palette.color(isSelected ? QPalette::HighlightedText : QPalette::Text);
    const QString date = index.data(FoundDaysModel::DayRole).toDate().toString("MM/dd/yyyy");
    const QString line = index.data(FoundDaysModel::LineRole).toString();
    const int matchStart = index.data(FoundDaysModel::MatchStartRole).toInt();
    const int matchLength = index.data(FoundDaysModel::MatchLengthRole).toInt();

    painter->save();
    painter->setClipRect(option.rect);
    QFont bold = option.font;
    bold.setBold(true);
    painter->setFont(bold);
    painter->setPen(textColor);
    const QRect area = option.rect.adjusted(kPadding, 0, -kPadding, 0);
    QPoint pen(area.left(), area.top() + (area.height() + painter->fontMetrics().ascent() -
                                          painter->fontMetrics().descent()) /
                                             2);
    drawPiece(*painter, pen, area.right(), date + "   ");
    painter->setFont(option.font);
    if (index.data(FoundDaysModel::UnreadableRole).toBool())
        painter->setPen(option.palette.color(QPalette::Disabled, QPalette::Text));

    QString before = line.left(matchStart);
    const int room = area.right() - pen.x();
    const int roomBefore = room / 3;
    const bool fits = painter->fontMetrics().horizontalAdvance(line) <= room;
    if (!fits && painter->fontMetrics().horizontalAdvance(before) > roomBefore)
        before = painter->fontMetrics().elidedText(before, Qt::ElideLeft, roomBefore);
    if (drawPiece(*painter, pen, area.right(), before) && matchLength > 0) {
        const QString match = line.mid(matchStart, matchLength);
        const QFontMetrics metrics = painter->fontMetrics();
        painter->fillRect(
            QRect(pen.x(), area.top() + 2, metrics.horizontalAdvance(match), area.height() - 4),
            kMarkerColor);
        painter->setPen(Qt::black);
        drawPiece(*painter, pen, area.right(), match);
        painter->setPen(textColor);
    }
    drawPiece(*painter, pen, area.right(), line.mid(matchStart + matchLength));
    painter->restore();
}

QSize FoundDayDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    return {option.fontMetrics.averageCharWidth() * 40, option.fontMetrics.height() + 2 * kPadding};
}
