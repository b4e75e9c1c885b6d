#include "forms/twips.h"

#include <cmath>

namespace tamcal {

int pixelsFromTwips(double twips)
{
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}

double twipsFromPixels(int pixels)
{
    return static_cast<double>(pixels) * kTwipsPerPixel;
}

QRect pixelRect(double left, double top, double width, double height)
{
    return {pixelsFromTwips(left), pixelsFromTwips(top), pixelsFromTwips(width),
            pixelsFromTwips(height)};
}

QSize pixelSize(double width, double height)
{
    return {pixelsFromTwips(width), pixelsFromTwips(height)};
}

} // namespace tamcal
