#pragma once

#include <QColor>

#include <cmath>

// Window measures and colours as the window designs give them.
namespace ui {

constexpr int twipsPerPixel = 15;

// Twips to whole pixels, halves to the even neighbour.
inline int twipsToPixels(int twips)
{
    return static_cast<int>(std::nearbyint(double(twips) / twipsPerPixel));
}

inline int pixelsToTwips(int pixels)
{
    return pixels * twipsPerPixel;
}

// A colour written 0x00BBGGRR (blue first): 0x400000 is RGB(0, 0, 64).
inline QColor colorFromBgr(long bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

} // namespace ui
