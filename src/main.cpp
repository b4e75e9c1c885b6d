#include "forms/frmcalview.h"

#include <QApplication>

// The run lasts as long as the calendar window: it loads the settings when it
// starts and writes them back when it closes.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("TamCal");
    frmCalView calendar;
    calendar.Form_Load();
    return QApplication::exec();
}
