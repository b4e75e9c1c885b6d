#pragma once

#include "tenyearprofile.h"

#include <QSettings>
#include <QString>
#include <QtGlobal>

#include <unistd.h>

namespace tamcal::bench {

// Before the application object: offscreen unless a screen is named, and the
// browser engine's sandbox off when running as root, as the program does.
inline void prepareWindowBenchmark()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}

// The windows' placements go beside the profile, not into the person's own store.
inline void keepPlacementsBeside(const TenYearProfile &profile)
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(profile.folder().string()));
}

} // namespace tamcal::bench
