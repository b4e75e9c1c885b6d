#include "forms/placement.h"

#include "forms/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <QWidget>

#include <algorithm>
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

// A window's frame is unknown until the window manager has framed it, which
// can be a while after the window is shown; until then an outer size can only
// be given as the inner size. Once the frame is known it is taken off again,
// or a window would grow by its frame every run. Without a window manager the
// frame stays empty and the inner size is the outer size.
class OuterSizeWhenFramed : public QObject
{
public:
    static constexpr const char *kName = "OuterSizeWhenFramed";

    OuterSizeWhenFramed(QWidget &window, QSize outer) : QObject(&window), m_outer(outer)
    {
        setObjectName(kName);
        window.installEventFilter(this);
    }

    bool eventFilter(QObject *, QEvent *event) override
    {
        const QEvent::Type type = event->type();
        if (type == QEvent::Show)
            QTimer::singleShot(kGiveUpMs, this, [this] { finish(); });
        if (type == QEvent::Show || type == QEvent::Move || type == QEvent::Resize)
            QTimer::singleShot(0, this, [this] { fitOnceFramed(); });
        return false;
    }

private:
    // A window manager frames a window within moments of its showing.
    static constexpr int kGiveUpMs = 3000;

    void fitOnceFramed()
    {
        auto &window = *static_cast<QWidget *>(parent());
        const QSize extra = frameExtra(window);
        if (m_isDone || extra.isNull())
            return;
        finish();
        if (!window.isMinimized() && !window.isMaximized())
            window.resize(m_outer - extra);
    }

    void finish()
    {
        m_isDone = true;
        parent()->removeEventFilter(this);
        deleteLater();
    }

    QSize m_outer;
    bool m_isDone = false;
};

// A window that has no placement of its own yet opens beside the window that
// owns it rather than on top of it.
void placeBesideOwner(const QWidget &window, Placement &placement)
{
    const QWidget *owner = window.parentWidget();
    if (!owner || !owner->isVisible())
        return;
    const QPoint at =
        besideOwner(owner->frameGeometry(), pixelSize(placement.Width, placement.Height),
                    QGuiApplication::primaryScreen()->geometry());
    placement.Left = twipsFromPixels(at.x());
    placement.Top = twipsFromPixels(at.y());
}

} // namespace

QPoint besideOwner(const QRect &ownerFrame, QSize outer, const QRect &screen)
{
    const int lowestTop = std::max(screen.top(), screen.bottom() + 1 - outer.height());
    const int top = std::clamp(ownerFrame.top(), screen.top(), lowestTop);
    if (ownerFrame.right() + outer.width() <= screen.right())
        return {ownerFrame.right() + 1, top};
    if (ownerFrame.left() - outer.width() >= screen.left())
        return {ownerFrame.left() - outer.width(), top};
    return ownerFrame.topLeft() + QPoint(kCascadeStep, kCascadeStep);
}

Placement clampToScreen(Placement placement, QSizeF screenTwips)
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
        delete window.findChild<OuterSizeWhenFramed *>(OuterSizeWhenFramed::kName,
                                                       Qt::FindDirectChildrenOnly);
        new OuterSizeWhenFramed(window, outer);
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
    if (!store.contains("Top") && !store.contains("Left"))
        placeBesideOwner(window, placement);
    applyPlacement(window, clampToScreen(placement, screenSizeTwips()));
}

void SavePlacement(QWidget &window)
{
    applyPlacement(window, clampToScreen(windowPlacement(window), screenSizeTwips()));
    const Placement reported = windowPlacement(window);
    QSettings store(kApplication, kApplication);
    store.beginGroup(window.objectName());
    store.setValue("Top", twipsText(reported.Top));
    store.setValue("Left", twipsText(reported.Left));
    store.setValue("Width", twipsText(reported.Width));
    store.setValue("Height", twipsText(reported.Height));
}

} // namespace tamcal
