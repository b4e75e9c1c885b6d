#pragma once

#include <QRect>
#include <QSize>

namespace tamcal {

// Window positions and sizes are kept in twips, 15 to a logical pixel. This is
// the one place that converts between the two.
inline constexpr int kTwipsPerPixel = 15;

int pixelsFromTwips(double twips);
double twipsFromPixels(int pixels);

// A rectangle given in twips (left, top, width, height), in logical pixels.
QRect pixelRect(double left, double top, double width, double height);
QSize pixelSize(double width, double height);

} // namespace tamcal
