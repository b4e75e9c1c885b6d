#pragma once

#include <QPoint>
#include <QRect>
#include <QSizeF>

class QWidget;

namespace tamcal {

// Where a window is and how big it is from the outside, in twips, measured from
// the primary screen's top-left corner.
struct Placement
{
    double Top = 120;
    double Left = 120;
    double Width = 6330;
    double Height = 7065;

    bool operator==(const Placement &) const = default;
};

// Pulls a window that lies off the screen back onto it. Only the four values
// are tested, strictly: a value equal to the screen's dimension stays.
Placement clampToScreen(Placement placement, QSizeF screenTwips);

// Where a window of `outer` size first opens beside its owner's frame (all in
// pixels): right of it when it fits on the screen, else left of it, else
// cascaded down and right from the owner's corner.
inline constexpr int kCascadeStep = 32;
QPoint besideOwner(const QRect &ownerFrame, QSize outer, const QRect &screen);

// The primary screen's size in twips.
QSizeF screenSizeTwips();

Placement windowPlacement(const QWidget &window);
// A minimised or maximised window refuses the move and keeps where it is.
void applyPlacement(QWidget &window, const Placement &placement);

// Each window remembers its placement per user under its object name (the
// window name) in the settings store of application "TamCal". An owned window
// with nothing stored opens beside its owner; a stored placement wins.
void RestorePlacement(QWidget &window);
void SavePlacement(QWidget &window);

} // namespace tamcal
