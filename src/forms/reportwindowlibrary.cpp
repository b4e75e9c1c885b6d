// The entry of the report window's library: the program finds the window
// through the maker registered here once the library is in the process.

#include "forms/frmview.h"
#include "forms/reportwindows.h"

namespace {

QWidget *makeReportWindow(QDate selStart, QDate selEnd, tamcal::UserPrompt &prompt, QWidget *owner)
{
    auto *window = new frmView(selStart, selEnd, prompt, owner);
    window->Form_Load();
    return window;
}

const bool isRegistered = (tamcal::registerReportWindowMaker(&makeReportWindow), true);

} // namespace
