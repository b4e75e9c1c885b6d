// The floor for start-up: the smallest Qt Widgets program, one empty window of
// the calendar window's outer size. What TamCal costs is measured against it.

#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(422, 471);
    window.show();
    return QApplication::exec();
}
