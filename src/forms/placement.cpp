#include "forms/placement.h"

#include "forms/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QWidget>

#include <cmath>

namespace tamcal {
namespace {

constexpr const char *kApplication = "TamCal";

bool isOffScreen(double value, double screenDimension)
{
    return value < 0 || value > screenDimension;
}

// The settings store holds each value as the text of a single-precision number.
QString twipsText(double twips)
{
    const float value = static_cast<float>(twips);
    if (std::nearbyint(value) == value)
        return QString::number(static_cast<qint64>(value));
    return QString::number(value, 'g', 7);
}

// Reads one value; text that is not a number leaves `target` as it was.
void readTwips(const QSettings &store, const char *key, const char *defaultText, double &target)
{
    bool isNumber = false;
    const double value = store.value(key, defaultText).toString().trimmed().toDouble(&isNumber);
    if (isNumber)
        target = value;
}

QSize frameExtra(const QWidget &window)
{
    return window.frameGeometry().size() - window.size();
}

} // namespace

Placement ClampToScreen(Placement placement, QSizeF screenTwips)
{
    if (isOffScreen(placement.Top, screenTwips.height()))
        placement.Top = 0;
    if (isOffScreen(placement.Left, screenTwips.width()))
        placement.Left = 0;
    if (isOffScreen(placement.Width, screenTwips.width()))
        placement.Width = screenTwips.width() - 100;
    if (isOffScreen(placement.Height, screenTwips.height()))
        placement.Height = screenTwips.height() - 100;
    return placement;
}

QSizeF screenSizeTwips()
{
    const QSize pixels = QGuiApplication::primaryScreen()->geometry().size();
    return {twipsFromPixels(pixels.width()), twipsFromPixels(pixels.height())};
}

Placement windowPlacement(const QWidget &window)
{
    const QRect outer = window.frameGeometry();
    return {twipsFromPixels(outer.top()), twipsFromPixels(outer.left()),
            twipsFromPixels(outer.width()), twipsFromPixels(outer.height())};
}

void applyPlacement(QWidget &window, const Placement &placement)
{
    if (window.isMinimized() || window.isMaximized())
        return;
    window.move(pixelsFromTwips(placement.Left), pixelsFromTwips(placement.Top));
    window.resize(pixelSize(placement.Width, placement.Height) - frameExtra(window));
}

void RestorePlacement(QWidget &window)
{
    QSettings store(kApplication, kApplication);
    store.beginGroup(window.objectName());
    Placement placement = windowPlacement(window);
    readTwips(store, "Top", "120", placement.Top);
    readTwips(store, "Left", "120", placement.Left);
    readTwips(store, "Width", "6330", placement.Width);
    readTwips(store, "Height", "7065", placement.Height);
    applyPlacement(window, ClampToScreen(placement, screenSizeTwips()));
}

void SavePlacement(QWidget &window)
{
    applyPlacement(window, ClampToScreen(windowPlacement(window), screenSizeTwips()));
    const Placement reported = windowPlacement(window);
    QSettings store(kApplication, kApplication);
    store.beginGroup(window.objectName());
    store.setValue("Top", twipsText(reported.Top));
    store.setValue("Left", twipsText(reported.Left));
    store.setValue("Width", twipsText(reported.Width));
    store.setValue("Height", twipsText(reported.Height));
}

} // namespace tamcal
