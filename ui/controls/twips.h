#pragma once

#include <QFontInfo>
#include <QRect>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace ui {

// Positions and sizes are given in twips (1/1440 inch); the screen's logical DPI turns them
// into pixels (15 twips per pixel at 96 DPI). The layout was drawn for an 8.25 pt font: a
// larger font of the widget's grows it in proportion, so that its captions keep their room.
inline double twipsPerPixel(const QWidget* w) {
    if (!w)
        return 15.0;
    const int dpi = w->logicalDpiX();
    const double fontScale = std::max(1.0, QFontInfo(w->font()).pointSizeF() / 8.25);
    return 1440.0 / (dpi > 0 ? dpi : 96) / fontScale;
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
