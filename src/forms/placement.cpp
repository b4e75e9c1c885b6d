#include "forms/placement.h"

#include "forms/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QTimer>
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

// A window's frame is unknown until it is shown, so an outer size given before
// that is first taken as the inner size; once the window is up, the frame is
// taken off again. Without this a window would grow by its frame every run.
class OuterSizeOnShow : public QObject
{
public:
    OuterSizeOnShow(QWidget &window, QSize outer) : QObject(&window), m_outer(outer)
    {
        setObjectName("OuterSizeOnShow");
        window.installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] {
                auto &window = *static_cast<QWidget *>(parent());
                if (!window.isMinimized() && !window.isMaximized())
                    window.resize(m_outer - frameExtra(window));
                deleteLater();
            });
        }
        return false;
    }

private:
    QSize m_outer;
};

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
    const QSize outer = pixelSize(placement.Width, placement.Height);
    window.move(pixelsFromTwips(placement.Left), pixelsFromTwips(placement.Top));
    window.resize(outer - frameExtra(window));
    if (!window.isVisible()) {
        delete window.findChild<OuterSizeOnShow *>("OuterSizeOnShow", Qt::FindDirectChildrenOnly);
        new OuterSizeOnShow(window, outer);
    }
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
