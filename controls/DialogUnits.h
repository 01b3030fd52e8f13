// Dialog units: the layout measure of the window templates, scaled with the
// dialog's font so that a layout keeps its proportions in any font. One
// horizontal unit is a quarter of the font's average character width, one
// vertical unit an eighth of its height.
#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    // Pixels for x dialog units, rounded to the nearest pixel.
    int ToPixelsX(int x) const;
    int ToPixelsY(int y) const;
    QRect ToPixels(int x, int y, int width, int height) const;
    QSize ToPixels(int width, int height) const;

    int BaseWidth() const { return m_baseWidth; }
    int BaseHeight() const { return m_baseHeight; }

private:
    int m_baseWidth;   // average character width in pixels
    int m_baseHeight;  // font height in pixels
};
