#include "forms/reportwindows.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QOpenGLContext>
#include <QStringList>

// Qt's own setter of the context that every OpenGL context shares with; the
// browser engine and Qt Quick use it the same way.
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext *context);

namespace tamcal {

namespace {

constinit ReportWindowMaker registeredMaker = nullptr;

// The browser engine draws through an OpenGL context shared with the
// application and fails without one. Asked for at start-up
// (Qt::AA_ShareOpenGLContexts), the context would load an OpenGL renderer into
// every run; made here, it comes just before the engine. Where no OpenGL
// context can be made, the engine draws without one.
void shareOpenGLContexts()
{
    if (QOpenGLContext::globalShareContext())
        return;
    auto *context = new QOpenGLContext(QCoreApplication::instance());
    context->create();
    qt_gl_set_global_share_context(context);
}

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
    shareOpenGLContexts();
    QStringList reasons;
    for (const QString &candidate : libraryCandidates()) {
        if (!QFileInfo::exists(candidate)) {
            reasons << candidate + ": no such file";
            continue;
        }
        QLibrary library(candidate);
        // Loading it runs its registration; the library stays for the rest of the run.
        if (library.load() && registeredMaker)
            return registeredMaker;
        reasons << (library.isLoaded() ? candidate + ": holds no report window"
                                       : library.errorString());
    }
    error = reasons.join('\n');
    return nullptr;
}

} // namespace tamcal
