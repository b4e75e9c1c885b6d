#include "forms/reportwindows.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>
#include <QStringList>

namespace tamcal {

namespace {

constinit ReportWindowMaker registeredMaker = nullptr;

// Beside the executable in the build folder and in a portable copy; in the
// library folder of an installed program, found from the executable's folder so
// that an installation can be moved.
QStringList libraryCandidates()
{
    const QDir folder(QCoreApplication::applicationDirPath());
    return {folder.filePath(TAMCAL_REPORT_WINDOW_FILE),
            folder.filePath(TAMCAL_REPORT_WINDOW_INSTALLED)};
}

} // namespace

void registerReportWindowMaker(ReportWindowMaker maker)
{
    registeredMaker = maker;
}

ReportWindowMaker reportWindowMaker(QString &error)
{
    if (registeredMaker)
        return registeredMaker;
    QStringList reasons;
    for (const QString &candidate : libraryCandidates()) {
        QLibrary library(candidate);
        // Loading it runs its registration; the library stays for the rest of the run.
        if (library.load() && registeredMaker)
            return registeredMaker;
        reasons << library.errorString();
    }
    error = reasons.join('\n');
    return nullptr;
}

} // namespace tamcal
