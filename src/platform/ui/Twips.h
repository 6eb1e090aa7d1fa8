#pragma once

#include <QRect>

namespace ui {

// Positions and widths of the forms' layouts are given in twips: 15 twips per pixel.
constexpr int twipsPerPixel = 15;

constexpr int twipsToPixels(int twips)
{
    return twips / twipsPerPixel;
}

constexpr int pixelsToTwips(int pixels)
{
    return pixels * twipsPerPixel;
}

inline QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                 twipsToPixels(height));
}

} // namespace ui
