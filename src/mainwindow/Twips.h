#pragma once

// The window is laid out in twips, as the layout numbers are written. At the
// 96 dpi logical resolution Qt works in there are 15 twips to a pixel; Qt's
// high-DPI scaling takes it from there.
constexpr int TwipsPerPixel = 15;

constexpr int Px(int twips)
{
    // Round half away from zero, so -135 twips is -9 px and 2440 is 163.
    return twips >= 0 ? (twips + TwipsPerPixel / 2) / TwipsPerPixel
                      : -((-twips + TwipsPerPixel / 2) / TwipsPerPixel);
}
