#pragma once

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
Placement ClampToScreen(Placement placement, QSizeF screenTwips);

// The primary screen's size in twips.
QSizeF screenSizeTwips();

Placement windowPlacement(const QWidget &window);
// A minimised or maximised window refuses the move and keeps where it is.
void applyPlacement(QWidget &window, const Placement &placement);

// Each window remembers its placement per user under its object name (the
// window name) in the settings store of application "TamCal".
void RestorePlacement(QWidget &window);
void SavePlacement(QWidget &window);

} // namespace tamcal
