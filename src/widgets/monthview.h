#pragma once

#include <QDate>
#include <QSet>
#include <QWidget>

class QPainter;

// A calendar that shows MonthRows x MonthColumns months side by side, each
// with its title and weekday header, weeks starting on Sunday. Bold marks are
// kept per date, so they survive scrolling. The widget sizes itself to its
// months (sizeHint from font metrics) whenever the layout changes.
//
// Only the first month shows grey leading days and only the last month grey
// trailing days. The months those grey days belong to count as shown: Value can
// be set into them without scrolling and their days take bold marks, so marking
// the months from VisibleDays(1)'s month onwards never scrolls the calendar.
// Clicking a grey day selects it in place (so a double-click opens the day
// clicked); the arrow keys and Page Up/Down scroll by whole months as needed.
// The arrow buttons and the mouse wheel browse the months and leave the value
// and the selection where they are, shown or not.
class MonthView : public QWidget
{
    Q_OBJECT

public:
    explicit MonthView(QWidget *parent = nullptr);

    // The current date. Setting a date outside the shown months scrolls so that
    // its month becomes the first month; dates before 1753 or after 9999 are ignored.
    QDate Value() const;
    void setValue(const QDate &vNewValue);
    int Month() const;
    int Year() const;

    // VisibleDays(1) is the first date in the grid: a leading day of the month
    // before the first shown month when that month does not start on Sunday, else
    // the 1st of the first month (no week of leading days). VisibleDays(n) is the
    // n-th date in the grid; an index past the grid gives an invalid date.
    QDate VisibleDays(int index) const;

    int MonthRows() const;
    int MonthColumns() const;
    // Both reject 0 and layouts of more than 12 months, keeping the old value.
    bool setMonthRows(int vNewValue);
    bool setMonthColumns(int vNewValue);

    bool DayBold(const QDate &date) const;
    // Fails (returns false, changes nothing) for a date whose month is not shown
    // (see above). A mark set earlier is kept, and read, whether shown or not.
    bool setDayBold(const QDate &date, bool vNewValue);

    // A selection spans at most kMaxSelectionDays; a longer one is cut at its end.
    static constexpr int kMaxSelectionDays = 366;
    QDate SelStart() const;
    QDate SelEnd() const;
    // Value becomes selEnd, the end that Shift+click and Shift+arrows move.
    void setSelection(const QDate &selStart, const QDate &selEnd);

    // The first day of the first month and the last day of the last month shown.
    QDate firstShownMonth() const;
    QDate lastShownDay() const;

    // Geometry in pixels of this widget: month block index (row by row), the cell
    // of a drawn date (empty when not drawn), and the drawn date under a point.
    QRect monthRect(int index) const;
    QRect dayRect(const QDate &date) const;
    QDate dateAt(const QPoint &pos) const;
    // The date drawn in cell 0..41 (row by row) of month block `index`, or an
    // invalid date for a cell left blank.
    QDate dateInCell(int index, int cell) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // A left click on a day (after a drag: the day where it ended); the release
    // that ends a double-click is not another click.
    void DateClick(const QDate &date);
    void DateDblClick(const QDate &date);
    // Every button release, at (x, y) in this widget's pixels, after DateClick.
    void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    // The shown months changed (scrolling, Value, layout): newly shown months
    // need their bold marks.
    void shownMonthsChanged();
    void selectionChanged();
    // Return, Enter or Space on the current day: the keyboard's double-click.
    void activated(const QDate &date);
    // Shift+F10 or the Menu key: a pop-up menu belongs at `pos` (this widget's
    // pixels), on the current day.
    void menuRequested(const QPoint &pos);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void changeEvent(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;

private:
    // Pixel geometry shared by painting and hit testing, computed by relayout().
    struct Geometry
    {
        QSize cell;
        QSize month;    // one month block, margins included
        int margin = 0; // left and right of the grid, below the last week
        int titleHeight = 0;
        int headerHeight = 0;
        int arrowWidth = 0;
    };
    enum class HitKind { Nothing, PreviousArrow, NextArrow, Day };
    struct Hit
    {
        HitKind kind = HitKind::Nothing;
        QDate date;
    };

    void relayout();
    int monthCount() const;
    QDate monthAt(int index) const;
    QRect titleRect(int index) const;
    QRect cellRect(int index, int cell) const;
    QRect previousArrowRect() const;
    QRect nextArrowRect() const;
    bool isDrawn(int index, const QDate &date) const;
    Hit hitTest(const QPoint &pos) const;
    QDate lastGridDate() const;
    bool coversMonthOf(const QDate &date) const;

    bool setLayout(int rows, int columns);
    void scrollMonths(int delta);
    void ensureInWholeMonths(const QDate &date);
    void select(const QDate &anchor, const QDate &value);
    void moveValue(const QDate &date, bool extend);
    void updateDays(const QDate &from, const QDate &to);
    void announceCurrentDay(bool isFocusMove);
    bool handleCommandKey(const QKeyEvent &event);
    QPoint currentDayCentre() const;

    void paintMonth(QPainter &painter, int index, const QDate &today) const;
    void paintTitle(QPainter &painter, int index) const;
    void paintArrow(QPainter &painter, const QRect &rect, bool pointsLeft) const;
    void paintDay(QPainter &painter, const QRect &rect, const QDate &date, bool grey,
                  bool isToday) const;
    void paintNoteMark(QPainter &painter, const QRect &rect, const QColor &colour) const;
    void paintTodayFrame(QPainter &painter, const QRect &rect, const QColor &colour) const;

    Geometry m_geometry;
    int m_rows = 1;
    int m_columns = 1;
    QDate m_firstMonth; // the 1st of the first month shown
    QDate m_value;
    QDate m_anchor; // the selection's fixed end; m_value is its moving end
    QSet<QDate> m_boldDays;
    bool m_dragging = false;
    bool m_pressedOnDay = false;
    bool m_releaseEndsDoubleClick = false;
    // Wheel turns not yet worth a whole month (touchpads send small steps).
    int m_wheelRemainder = 0;
};
