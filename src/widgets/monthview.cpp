#include "widgets/monthview.h"

#include "widgets/monthgrid.h"
#include "widgets/monthviewaccessible.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QWheelEvent>

#include <algorithm>
#include <array>

using monthgrid::cellForDate;
using monthgrid::dateForCell;
using monthgrid::firstOfMonth;
using monthgrid::kCells;
using monthgrid::kWeekDays;
using monthgrid::kWeekRows;
using monthgrid::monthsBetween;

namespace {

constexpr int kMaxMonths = 12;

// The dates the calendar accepts, as the platform's month calendar does.
QDate firstAllowedDate()
{
    return QDate(1753, 1, 1);
}

QDate lastAllowedMonth()
{
    return QDate(9999, 12, 1);
}

bool isAllowed(const QDate &date)
{
    return date.isValid() && date >= firstAllowedDate() && date < lastAllowedMonth().addMonths(1);
}

// Keeps all `count` months from firstMonth onwards inside the allowed dates.
QDate clampFirstMonth(const QDate &firstMonth, int count)
{
    const QDate latest = lastAllowedMonth().addMonths(1 - count);
    return std::clamp(firstMonth, firstAllowedDate(), latest);
}

const std::array<const char *, kWeekDays> kWeekdayLabels = {"Su", "Mo", "Tu", "We",
                                                            "Th", "Fr", "Sa"};

// English month names whatever the locale, like every other date text of the program.
QString monthTitle(const QDate &month)
{
    return QStringLiteral("%1 %2")
        .arg(QLocale::c().monthName(month.month(), QLocale::LongFormat))
        .arg(month.year());
}

QFont boldFont(QFont font)
{
    font.setBold(true);
    return font;
}

} // namespace

MonthView::MonthView(QWidget *parent)
    : QWidget(parent), m_firstMonth(firstOfMonth(QDate::currentDate())),
      m_value(QDate::currentDate()), m_anchor(m_value)
{
    MonthViewAccessible::installFactory();
    setFocusPolicy(Qt::StrongFocus);
    relayout();
    resize(sizeHint());
}

QDate MonthView::Value() const
{
    return m_value;
}

void MonthView::setValue(const QDate &vNewValue)
{
    if (!isAllowed(vNewValue))
        return;
    const bool scrolls = !coversMonthOf(vNewValue);
    if (scrolls) {
        m_firstMonth = clampFirstMonth(firstOfMonth(vNewValue), monthCount());
        update();
    }
    select(vNewValue, vNewValue);
    // Listeners may read Value, so they hear of the new months only once it is set.
    if (scrolls)
        emit shownMonthsChanged();
}

int MonthView::Month() const
{
    return m_value.month();
}

int MonthView::Year() const
{
    return m_value.year();
}

QDate MonthView::VisibleDays(int index) const
{
    if (index < 1)
        return {};
    const QDate date = dateForCell(m_firstMonth, 0).addDays(index - 1);
    return date <= lastGridDate() ? date : QDate();
}

int MonthView::MonthRows() const
{
    return m_rows;
}

int MonthView::MonthColumns() const
{
    return m_columns;
}

bool MonthView::setMonthRows(int vNewValue)
{
    return setLayout(vNewValue, m_columns);
}

bool MonthView::setMonthColumns(int vNewValue)
{
    return setLayout(m_rows, vNewValue);
}

bool MonthView::DayBold(const QDate &date) const
{
    return m_boldDays.contains(date);
}

bool MonthView::setDayBold(const QDate &date, bool vNewValue)
{
    if (!date.isValid() || !coversMonthOf(date))
        return false;
    if (m_boldDays.contains(date) == vNewValue)
        return true;
    if (vNewValue)
        m_boldDays.insert(date);
    else
        m_boldDays.remove(date);
    update(dayRect(date));
    return true;
}

QDate MonthView::SelStart() const
{
    return std::min(m_anchor, m_value);
}

QDate MonthView::SelEnd() const
{
    return std::max(m_anchor, m_value);
}

void MonthView::setSelection(const QDate &selStart, const QDate &selEnd)
{
    if (isAllowed(selStart) && isAllowed(selEnd))
        select(selStart, selEnd);
}

QDate MonthView::firstShownMonth() const
{
    return m_firstMonth;
}

QDate MonthView::lastShownDay() const
{
    return monthAt(monthCount()).addDays(-1);
}

QRect MonthView::monthRect(int index) const
{
    const QPoint topLeft((index % m_columns) * m_geometry.month.width(),
                         (index / m_columns) * m_geometry.month.height());
    return QRect(topLeft, m_geometry.month);
}

QRect MonthView::dayRect(const QDate &date) const
{
    if (!date.isValid())
        return {};
    const int offset = monthsBetween(m_firstMonth, date);
    const int index = std::clamp(offset, 0, monthCount() - 1);
    const int cell = cellForDate(monthAt(index), date);
    if (cell < 0 || !isDrawn(index, date))
        return {};
    return cellRect(index, cell);
}

QDate MonthView::dateAt(const QPoint &pos) const
{
    const Hit hit = hitTest(pos);
    return hit.kind == HitKind::Day ? hit.date : QDate();
}

QDate MonthView::dateInCell(int index, int cell) const
{
    if (index < 0 || index >= monthCount() || cell < 0 || cell >= kCells)
        return {};
    const QDate date = dateForCell(monthAt(index), cell);
    return isDrawn(index, date) ? date : QDate();
}

QSize MonthView::sizeHint() const
{
    return QSize(m_columns * m_geometry.month.width(), m_rows * m_geometry.month.height());
}

QSize MonthView::minimumSizeHint() const
{
    return sizeHint();
}

// Cells are as wide as the widest day number in bold or weekday label, plus a little air;
// this keeps 3 x 2 months inside the calendar window's default client area.
void MonthView::relayout()
{
    const QFontMetrics metrics(font());
    const QFontMetrics boldMetrics(boldFont(font()));
    int labelWidth = boldMetrics.horizontalAdvance(QStringLiteral("00"));
    for (const char *label : kWeekdayLabels)
        labelWidth = std::max(labelWidth, metrics.horizontalAdvance(QLatin1String(label)));
    const int padding = std::max(2, metrics.averageCharWidth() / 2);

    Geometry &g = m_geometry;
    g.cell = QSize(labelWidth + 2 * padding, metrics.height() + 2);
    g.margin = std::max(1, padding - 1);
    g.titleHeight = boldMetrics.height() + 6;
    g.headerHeight = metrics.height() + 3;
    g.arrowWidth = g.titleHeight;
    g.month = QSize(kWeekDays * g.cell.width() + 2 * g.margin,
                    g.titleHeight + g.headerHeight + kWeekRows * g.cell.height() + g.margin);
}

int MonthView::monthCount() const
{
    return m_rows * m_columns;
}

QDate MonthView::monthAt(int index) const
{
    return m_firstMonth.addMonths(index);
}

QRect MonthView::titleRect(int index) const
{
    const QRect block = monthRect(index);
    return QRect(block.left() + m_geometry.margin, block.top() + 2,
                 kWeekDays * m_geometry.cell.width(), m_geometry.titleHeight - 4);
}

QRect MonthView::cellRect(int index, int cell) const
{
    const QRect block = monthRect(index);
    const QSize size = m_geometry.cell;
    return QRect(block.left() + m_geometry.margin + (cell % kWeekDays) * size.width(),
                 block.top() + m_geometry.titleHeight + m_geometry.headerHeight +
                     (cell / kWeekDays) * size.height(),
                 size.width(), size.height());
}

QRect MonthView::previousArrowRect() const
{
    const QRect title = titleRect(0);
    return QRect(title.topLeft(), QSize(m_geometry.arrowWidth, title.height()));
}

QRect MonthView::nextArrowRect() const
{
    const QRect title = titleRect(m_columns - 1);
    return QRect(title.right() + 1 - m_geometry.arrowWidth, title.top(), m_geometry.arrowWidth,
                 title.height());
}

// A month block draws its own days; only the first also draws the grey leading days
// and only the last the grey trailing days.
bool MonthView::isDrawn(int index, const QDate &date) const
{
    const int offset = monthsBetween(monthAt(index), date);
    if (offset == 0)
        return true;
    return offset < 0 ? index == 0 : index == monthCount() - 1;
}

MonthView::Hit MonthView::hitTest(const QPoint &pos) const
{
    if (previousArrowRect().contains(pos))
        return {HitKind::PreviousArrow, {}};
    if (nextArrowRect().contains(pos))
        return {HitKind::NextArrow, {}};
    if (pos.x() < 0 || pos.y() < 0)
        return {};
    const int column = pos.x() / m_geometry.month.width();
    const int row = pos.y() / m_geometry.month.height();
    if (column >= m_columns || row >= m_rows)
        return {};
    const int index = row * m_columns + column;
    const QRect firstCell = cellRect(index, 0);
    const QRect grid(firstCell.topLeft(),
                     QSize(kWeekDays * firstCell.width(), kWeekRows * firstCell.height()));
    if (!grid.contains(pos))
        return {};
    const QPoint inGrid = pos - grid.topLeft();
    const int cell = inGrid.y() / firstCell.height() * kWeekDays + inGrid.x() / firstCell.width();
    const QDate date = dateForCell(monthAt(index), cell);
    if (!isDrawn(index, date))
        return {};
    return {HitKind::Day, date};
}

QDate MonthView::lastGridDate() const
{
    return dateForCell(monthAt(monthCount() - 1), kCells - 1);
}

bool MonthView::coversMonthOf(const QDate &date) const
{
    return monthsBetween(VisibleDays(1), date) >= 0 && monthsBetween(date, lastGridDate()) >= 0;
}

bool MonthView::setLayout(int rows, int columns)
{
    if (rows < 1 || columns < 1 || rows * columns > kMaxMonths)
        return false;
    if (rows == m_rows && columns == m_columns)
        return true;
    m_rows = rows;
    m_columns = columns;
    m_firstMonth = clampFirstMonth(m_firstMonth, monthCount());
    relayout();
    updateGeometry();
    resize(sizeHint());
    update();
    emit shownMonthsChanged();
    return true;
}

void MonthView::scrollMonths(int delta)
{
    const QDate first = clampFirstMonth(m_firstMonth.addMonths(delta), monthCount());
    if (first == m_firstMonth)
        return;
    m_firstMonth = first;
    update();
    emit shownMonthsChanged();
}

// Scrolls as little as needed for date's month to be one of the whole months shown.
void MonthView::ensureInWholeMonths(const QDate &date)
{
    const int before = monthsBetween(m_firstMonth, date);
    const int after = monthsBetween(monthAt(monthCount() - 1), date);
    if (before < 0)
        scrollMonths(before);
    else if (after > 0)
        scrollMonths(after);
}

void MonthView::select(const QDate &anchor, const QDate &value)
{
    const qint64 span = anchor.daysTo(value);
    const qint64 limit = kMaxSelectionDays - 1;
    const QDate end = anchor.addDays(std::clamp(span, -limit, limit));
    if (anchor == m_anchor && end == m_value)
        return;
    updateDays(SelStart(), SelEnd());
    m_anchor = anchor;
    m_value = end;
    updateDays(SelStart(), SelEnd());
    emit selectionChanged();
    announceCurrentDay(hasFocus());
}

void MonthView::announceCurrentDay(bool isFocusMove)
{
    MonthViewAccessible::announceCurrentDay(this, m_value, isFocusMove);
}

void MonthView::moveValue(const QDate &date, bool extend)
{
    if (!isAllowed(date))
        return;
    ensureInWholeMonths(date);
    select(extend ? m_anchor : date, date);
}

void MonthView::updateDays(const QDate &from, const QDate &to)
{
    const QDate last = std::min(to, lastGridDate());
    for (QDate date = std::max(from, VisibleDays(1)); date <= last; date = date.addDays(1))
        update(dayRect(date));
}

void MonthView::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().base());
    const QDate today = QDate::currentDate();
    for (int index = 0; index < monthCount(); ++index) {
        if (event->rect().intersects(monthRect(index)))
            paintMonth(painter, index, today);
    }
}

void MonthView::paintMonth(QPainter &painter, int index, const QDate &today) const
{
    paintTitle(painter, index);

    const QRect firstCell = cellRect(index, 0);
    const int headerTop = firstCell.top() - m_geometry.headerHeight;
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::Text));
    for (int day = 0; day < kWeekDays; ++day) {
        const QRect label(firstCell.left() + day * firstCell.width(), headerTop, firstCell.width(),
                          m_geometry.headerHeight - 2);
        painter.drawText(label, Qt::AlignCenter, QLatin1String(kWeekdayLabels[day]));
    }
    painter.setPen(palette().color(QPalette::Mid));
    const int ruleY = firstCell.top() - 2;
    painter.drawLine(firstCell.left(), ruleY, firstCell.left() + kWeekDays * firstCell.width() - 1,
                     ruleY);

    const QDate month = monthAt(index);
    for (int cell = 0; cell < kCells; ++cell) {
        const QDate date = dateForCell(month, cell);
        if (isDrawn(index, date))
            paintDay(painter, cellRect(index, cell), date, date.month() != month.month(),
                     date == today);
    }
}

void MonthView::paintTitle(QPainter &painter, int index) const
{
    const QRect title = titleRect(index);
    painter.fillRect(title, palette().button());
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.setFont(boldFont(font()));
    painter.drawText(title, Qt::AlignCenter, monthTitle(monthAt(index)));
    if (index == 0)
        paintArrow(painter, previousArrowRect(), true);
    if (index == m_columns - 1)
        paintArrow(painter, nextArrowRect(), false);
}

void MonthView::paintArrow(QPainter &painter, const QRect &rect, bool pointsLeft) const
{
    const int half = std::max(2, rect.height() / 4);
    const QPoint centre = rect.center();
    const int tip = pointsLeft ? -half : half;
    const QPolygon triangle(
        {centre + QPoint(tip, 0), centre + QPoint(-tip, -half), centre + QPoint(-tip, half)});
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette().color(QPalette::ButtonText));
    painter.drawPolygon(triangle);
    painter.restore();
}

void MonthView::paintDay(QPainter &painter, const QRect &rect, const QDate &date, bool grey,
                         bool isToday) const
{
    const bool selected = date >= SelStart() && date <= SelEnd();
    if (selected)
        painter.fillRect(rect, palette().highlight());
    QColor text = palette().color(grey ? QPalette::PlaceholderText : QPalette::Text);
    if (selected)
        text = palette().color(QPalette::HighlightedText);
    const bool hasNote = m_boldDays.contains(date);
    painter.setPen(text);
    painter.setFont(hasNote ? boldFont(font()) : font());
    painter.drawText(rect, Qt::AlignCenter, QString::number(date.day()));

    // Marks stand out from the day's own background: the highlight colour on a
    // plain day, the highlighted text colour on a selected one.
    const QColor mark = palette().color(selected ? QPalette::HighlightedText : QPalette::Highlight);
    if (isToday)
        paintTodayFrame(painter, rect, mark);
    if (hasNote)
        paintNoteMark(painter, rect, mark);
    if (date == m_value && hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect.adjusted(1, 1, -1, -1);
        option.backgroundColor =
            selected ? palette().color(QPalette::Highlight) : palette().color(QPalette::Base);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

// A small triangle in the cell's top right corner, clear of the number.
void MonthView::paintNoteMark(QPainter &painter, const QRect &rect, const QColor &colour) const
{
    const qreal leg = std::max(4, rect.height() / 3);
    const QPointF corner(rect.right() + 1, rect.top());
    const QPolygonF triangle({corner, corner - QPointF(leg, 0), corner + QPointF(0, leg)});
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPolygon(triangle);
    painter.restore();
}

// Two pixels wide, so today shows even while another day is selected.
void MonthView::paintTodayFrame(QPainter &painter, const QRect &rect, const QColor &colour) const
{
    const int width = 2;
    painter.save();
    painter.setPen(QPen(colour, width));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(rect).adjusted(width / 2.0, width / 2.0, -width / 2.0, -width / 2.0));
    painter.restore();
}

// Every press is accepted so that its release, which MouseUp reports for any button,
// comes back to this widget; only the left button selects and scrolls.
void MonthView::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    const Hit hit = hitTest(event->position().toPoint());
    m_pressedOnDay = hit.kind == HitKind::Day;
    switch (hit.kind) {
    case HitKind::PreviousArrow:
        scrollMonths(-1);
        break;
    case HitKind::NextArrow:
        scrollMonths(1);
        break;
    case HitKind::Day:
        m_dragging = true;
        select(event->modifiers() & Qt::ShiftModifier ? m_anchor : hit.date, hit.date);
        break;
    case HitKind::Nothing:
        break;
    }
}

void MonthView::mouseMoveEvent(QMouseEvent *event)
{
    const Hit hit = hitTest(event->position().toPoint());
    if (!m_dragging || hit.kind != HitKind::Day) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    select(m_anchor, hit.date);
}

void MonthView::mouseReleaseEvent(QMouseEvent *event)
{
    const bool isLeft = event->button() == Qt::LeftButton;
    const bool clickedDay = isLeft && m_pressedOnDay && !m_releaseEndsDoubleClick;
    if (isLeft) {
        m_dragging = false;
        m_pressedOnDay = false;
        m_releaseEndsDoubleClick = false;
    }
    if (clickedDay)
        emit DateClick(m_value);
    const QPoint pos = event->position().toPoint();
    emit MouseUp(event->button(), event->modifiers(), pos.x(), pos.y());
}

// The release after a double-click ends it; it is not another click on the day.
void MonthView::mouseDoubleClickEvent(QMouseEvent *event)
{
    const Hit hit = hitTest(event->position().toPoint());
    if (event->button() != Qt::LeftButton || hit.kind != HitKind::Day) {
        mousePressEvent(event);
        return;
    }
    event->accept();
    select(hit.date, hit.date);
    m_pressedOnDay = true;
    m_releaseEndsDoubleClick = true;
    emit DateDblClick(hit.date);
}

void MonthView::keyPressEvent(QKeyEvent *event)
{
    if (handleCommandKey(*event)) {
        event->accept();
        return;
    }
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    switch (event->key()) {
    case Qt::Key_Left:
        moveValue(m_value.addDays(-1), extend);
        break;
    case Qt::Key_Right:
        moveValue(m_value.addDays(1), extend);
        break;
    case Qt::Key_Up:
        moveValue(m_value.addDays(-kWeekDays), extend);
        break;
    case Qt::Key_Down:
        moveValue(m_value.addDays(kWeekDays), extend);
        break;
    case Qt::Key_Home:
        moveValue(firstOfMonth(m_value), extend);
        break;
    case Qt::Key_End:
        moveValue(firstOfMonth(m_value).addMonths(1).addDays(-1), extend);
        break;
    case Qt::Key_PageUp:
        scrollMonths(-1);
        moveValue(m_value.addMonths(-1), extend);
        break;
    case Qt::Key_PageDown:
        scrollMonths(1);
        moveValue(m_value.addMonths(1), extend);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

// One notch of the wheel (120 eighths of a degree) is one month; turning it
// away from the person goes back in time.
void MonthView::wheelEvent(QWheelEvent *event)
{
    constexpr int kNotch = 120;
    m_wheelRemainder += event->angleDelta().y();
    const int months = m_wheelRemainder / kNotch;
    m_wheelRemainder -= months * kNotch;
    if (months != 0)
        scrollMonths(-months);
    event->accept();
}

bool MonthView::handleCommandKey(const QKeyEvent &event)
{
    const bool isMenuKey = event.key() == Qt::Key_Menu ||
                           (event.key() == Qt::Key_F10 && event.modifiers() == Qt::ShiftModifier);
    if (isMenuKey) {
        emit menuRequested(currentDayCentre());
        return true;
    }
    const bool isActivation = event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter ||
                              event.key() == Qt::Key_Space;
    if (isActivation && !event.isAutoRepeat())
        emit activated(m_value);
    return isActivation;
}

// The current day is always drawn (Value's month is shown), so its cell is the
// place a keyboard's menu belongs.
QPoint MonthView::currentDayCentre() const
{
    const QRect cell = dayRect(m_value);
    return cell.isEmpty() ? rect().center() : cell.center();
}

// The mouse's menu comes with the right button's release (MouseUp); only the
// keyboard's reaches the menu through here.
void MonthView::contextMenuEvent(QContextMenuEvent *event)
{
    if (event->reason() != QContextMenuEvent::Keyboard) {
        QWidget::contextMenuEvent(event);
        return;
    }
    event->accept();
    emit menuRequested(currentDayCentre());
}

void MonthView::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    announceCurrentDay(true);
}

void MonthView::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange) {
        relayout();
        updateGeometry();
        resize(sizeHint());
        update();
    }
    QWidget::changeEvent(event);
}
