#include "widgets/monthview.h"

#include <QApplication>

// Shows the calendar as the calendar window holds it, with a few bold days and a range
// selected, for looking at under Xvfb: `monthview_demo [rows columns]` (default 3 2).
int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int rows = args.size() > 2 ? args.at(1).toInt() : 3;
    const int columns = args.size() > 2 ? args.at(2).toInt() : 2;

    QWidget window;
    auto *view = new MonthView(&window);
    view->setMonthRows(rows);
    view->setMonthColumns(columns);
    const QDate today = QDate::currentDate();
    view->setValue(today);
    for (int offset : {-40, -3, 0, 2, 9, 31, 45, 60, 100})
        view->setDayBold(today.addDays(offset), true);
    view->setSelection(today.addDays(2), today.addDays(12));
    window.resize(view->size());
    window.show();
    window.activateWindow();
    view->setFocus();
    return app.exec();
}
