#pragma once

#include <QRect>

// The windows are laid out in twips, as their layout numbers are written. At the
// 96 dpi logical resolution Qt works in there are 15 twips to a pixel; Qt's
// high-DPI scaling takes it from there.
constexpr int TwipsPerPixel = 15;

constexpr int Px(int twips)
{
    // Round half away from zero, so -135 twips is -9 px and 2440 is 163.
    return twips >= 0 ? (twips + TwipsPerPixel / 2) / TwipsPerPixel
                      : -((-twips + TwipsPerPixel / 2) / TwipsPerPixel);
}

// A rectangle given in twips, in pixels.
inline QRect TwipsRect(int left, int top, int width, int height)
{
    return QRect(Px(left), Px(top), Px(width), Px(height));
}
