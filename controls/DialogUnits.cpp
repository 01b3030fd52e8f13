#include "controls/DialogUnits.h"

#include <QFontMetrics>
#include <QString>

namespace {

// The average width of the 52 letters, rounded: the measure dialog templates
// were laid out with. A font's own "average width" field is set carelessly
// by many fonts and would stretch or squeeze the layout.
int AverageLetterWidth(const QFontMetrics& metrics) {
    static const QString kLetters =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return (metrics.horizontalAdvance(kLetters) / 26 + 1) / 2;
}

int Scale(int units, int base, int divisor) {
    // Rounds half away from zero, so a layout is symmetric about the origin.
    const long long product = static_cast<long long>(units) * base;
    const long long half = divisor / 2;
    return static_cast<int>(product >= 0 ? (product + half) / divisor
                                         : -((-product + half) / divisor));
}

}  // namespace

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    m_baseWidth = AverageLetterWidth(metrics);
    m_baseHeight = metrics.height();
}

int DialogUnits::ToPixelsX(int x) const {
    return Scale(x, m_baseWidth, 4);
}

int DialogUnits::ToPixelsY(int y) const {
    return Scale(y, m_baseHeight, 8);
}

QRect DialogUnits::ToPixels(int x, int y, int width, int height) const {
    return QRect(ToPixelsX(x), ToPixelsY(y), ToPixelsX(width), ToPixelsY(height));
}

QSize DialogUnits::ToPixels(int width, int height) const {
    return QSize(ToPixelsX(width), ToPixelsY(height));
}
