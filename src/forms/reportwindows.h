#pragma once

#include <QString>

class QDate;
class QWidget;

namespace tamcal {

class UserPrompt;

// The report window lives in a library of its own, with the browser engine it
// needs: linked into the program, the engine would cost every start time and
// memory, though most runs never open a report. The program loads the library
// the first time a report window opens.

// Makes a report window on the range, owned by `owner`, loaded but not shown.
using ReportWindowMaker = QWidget *(*)(QDate selStart, QDate selEnd, UserPrompt &prompt,
                                       QWidget *owner);

// The library offers its maker as it comes into the process, whether the
// program loaded it or a test program was linked with it.
void registerReportWindowMaker(ReportWindowMaker maker);

// The maker, the library loaded if it is not in the process yet; nothing when
// it can't be loaded, with the reason in `error`.
ReportWindowMaker reportWindowMaker(QString &error);

} // namespace tamcal
