#pragma once

#include <QRect>
#include <QWidget>
#include <cmath>

namespace ui {

// Positions and sizes are given in twips (1/1440 inch); the screen's logical DPI turns them
// into pixels (15 twips per pixel at 96 DPI).
inline double twipsPerPixel(const QWidget* w) {
    const int dpi = w ? w->logicalDpiX() : 96;
    return 1440.0 / (dpi > 0 ? dpi : 96);
}
inline int toPixels(double twips, const QWidget* w) {
    return static_cast<int>(std::lround(twips / twipsPerPixel(w)));
}
inline double toTwips(int pixels, const QWidget* w) {
    return pixels * twipsPerPixel(w);
}
inline QRect twipsRect(double left, double top, double width, double height, const QWidget* w) {
    return QRect(toPixels(left, w), toPixels(top, w), toPixels(width, w), toPixels(height, w));
}

} // namespace ui
