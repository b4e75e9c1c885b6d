#pragma once

#include <QDate>
#include <QPageLayout>
#include <QString>

class QLocale;

namespace tamcal {

// The paper a locale prints on: Letter where it measures in US units, else A4.
QPageLayout reportPageLayout(const QLocale &locale);

// The name offered for the report of a range kept as PDF, such as
// "TamCal 2004-03-01 to 2004-03-31.pdf".
QString proposedPdfName(QDate begin, QDate end);

} // namespace tamcal
