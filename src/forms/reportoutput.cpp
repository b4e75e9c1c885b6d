#include "forms/reportoutput.h"

#include <QLocale>
#include <QMarginsF>
#include <QPageSize>

namespace tamcal {

namespace {

// Room around the report on paper, in millimetres.
constexpr double kPaperMargin = 12;

} // namespace

QPageLayout reportPageLayout(const QLocale &locale)
{
    const auto size =
        locale.measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter : QPageSize::A4;
    return QPageLayout(QPageSize(size), QPageLayout::Portrait,
                       QMarginsF(kPaperMargin, kPaperMargin, kPaperMargin, kPaperMargin),
                       QPageLayout::Millimeter);
}

QString proposedPdfName(QDate begin, QDate end)
{
    const QString format = "yyyy-MM-dd";
    return "TamCal " + begin.toString(format) + " to " + end.toString(format) + ".pdf";
}

} // namespace tamcal
