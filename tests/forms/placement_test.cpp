#include "forms/placement.h"

#include "forms/twips.h"
#include "support/printers.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

using tamcal::Placement;

// A 1280 x 1024 pixel screen.
const QSizeF kScreen(19200, 15360);

TEST(ClampToScreen, PullsOffScreenValuesBack)
{
    struct Case
    {
        const char *name;
        Placement stored;
        Placement expected;
    };
    const Case cases[] = {
        {"on screen stays", {120, 120, 6330, 7065}, {120, 120, 6330, 7065}},
        {"negative top", {-200, 120, 6330, 7065}, {0, 120, 6330, 7065}},
        {"top below the screen", {15361, 120, 6330, 7065}, {0, 120, 6330, 7065}},
        {"left on a second display", {120, 19500, 6330, 7065}, {120, 0, 6330, 7065}},
        {"left equal to the width stays", {120, 19200, 6330, 7065}, {120, 19200, 6330, 7065}},
        {"too wide", {120, 120, 30000, 7065}, {120, 120, 19100, 7065}},
        {"too high", {120, 120, 6330, 20000}, {120, 120, 6330, 15260}},
        {"negative size", {120, 120, -1, -1}, {120, 120, 19100, 15260}},
        {"minimised window", {-48000, -48000, 2400, 405}, {0, 0, 2400, 405}},
        {"size equal to the screen stays", {0, 0, 19200, 15360}, {0, 0, 19200, 15360}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const Placement clamped = tamcal::clampToScreen(c.stored, kScreen);
        EXPECT_EQ(clamped.Top, c.expected.Top);
        EXPECT_EQ(clamped.Left, c.expected.Left);
        EXPECT_EQ(clamped.Width, c.expected.Width);
        EXPECT_EQ(clamped.Height, c.expected.Height);
    }
}

// A 6330 x 7065-twip window (422 x 471 pixels) beside an owner of the same size.
TEST(BesideOwner, RightThenLeftThenCascaded)
{
    const QRect screen(0, 0, 1280, 1024);
    const QSize outer(422, 471);
    struct Case
    {
        const char *name;
        QRect owner;
        QPoint expected;
    };
    const Case cases[] = {
        {"right of it", {8, 8, 422, 471}, {430, 8}},
        {"right edge touching the screen's", {436, 8, 422, 471}, {858, 8}},
        {"left when the right is too narrow", {437, 8, 422, 471}, {15, 8}},
        {"left edge touching the screen's", {422, 8, 440, 471}, {0, 8}},
        {"cascaded when neither side fits", {200, 8, 880, 471}, {232, 40}},
        {"raised to stay on the screen", {8, 700, 422, 300}, {430, 553}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(tamcal::besideOwner(c.owner, outer, screen), c.expected);
    }
}

class PlacementStore : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QSettings("TamCal", "TamCal").clear();
        window.setObjectName("frmView");
        window.resize(100, 80);
    }

    static void store(const char *key, const QString &value)
    {
        QSettings settings("TamCal", "TamCal");
        settings.setValue(QStringLiteral("frmView/") + key, value);
    }

    static QString stored(const char *key)
    {
        return QSettings("TamCal", "TamCal").value(QStringLiteral("frmView/") + key).toString();
    }

    QWidget window;
};

TEST_F(PlacementStore, FirstStartOpensAtTheDefaults)
{
    tamcal::RestorePlacement(window);
    EXPECT_EQ(tamcal::windowPlacement(window), (Placement{120, 120, 6330, 7065}));
}

TEST_F(PlacementStore, StoredValuesAreRestoredAndClamped)
{
    store("Top", "-200");
    store("Left", "300");
    store("Width", "4500");
    store("Height", "abc");
    tamcal::RestorePlacement(window);
    // Height is no number: the window keeps its created 80 pixels.
    EXPECT_EQ(tamcal::windowPlacement(window), (Placement{0, 300, 4500, 1200}));
}

TEST_F(PlacementStore, SavedAsTwipsTextUnderTheWindowName)
{
    window.move(20, 30);
    window.resize(422, 471);
    tamcal::SavePlacement(window);
    EXPECT_EQ(stored("Top"), "450");
    EXPECT_EQ(stored("Left"), "300");
    EXPECT_EQ(stored("Width"), "6330");
    EXPECT_EQ(stored("Height"), "7065");
}

TEST_F(PlacementStore, SaveClampsAWindowThatIsOffTheScreen)
{
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    window.move(-50, 10);
    window.resize(screen.width() + 10, 100);
    tamcal::SavePlacement(window);
    EXPECT_EQ(stored("Left"), "0");
    // The window takes whole pixels: 100 twips less than the screen is 7 pixels less.
    EXPECT_EQ(stored("Width"), QString::number((screen.width() - 7) * 15));
    EXPECT_EQ(window.x(), 0);
}

TEST_F(PlacementStore, RoundTripsAcrossWindows)
{
    window.move(40, 50);
    window.resize(300, 200);
    tamcal::SavePlacement(window);
    QWidget next;
    next.setObjectName("frmView");
    tamcal::RestorePlacement(next);
    EXPECT_EQ(next.geometry(), QRect(40, 50, 300, 200));
}

} // namespace
