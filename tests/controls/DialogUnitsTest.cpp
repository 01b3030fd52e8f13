#include "controls/DialogUnits.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>

namespace {

TEST(DialogUnitsTest, FourUnitsAreOneCharacterAndEightOneLine) {
    for (const int pointSize : {8, 9, 12, 20}) {
        QFont font = QApplication::font();
        font.setPointSize(pointSize);
        const DialogUnits units(font);
        const QFontMetrics metrics(font);
        EXPECT_EQ(units.BaseHeight(), metrics.height()) << pointSize;
        // Within a pixel of the font's own average letter width.
        const QString letters =
            QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
        EXPECT_NEAR(units.BaseWidth(), metrics.horizontalAdvance(letters) / 52.0, 1.0) << pointSize;
        EXPECT_EQ(units.ToPixelsX(4), units.BaseWidth());
        EXPECT_EQ(units.ToPixelsY(8), units.BaseHeight());
        EXPECT_EQ(units.ToPixelsX(400), 100 * units.BaseWidth());
        EXPECT_EQ(units.ToPixelsX(0), 0);
        EXPECT_EQ(units.ToPixelsX(-4), -units.BaseWidth());
        EXPECT_EQ(units.ToPixels(4, 8, 8, 16),
                  QRect(units.BaseWidth(), units.BaseHeight(), 2 * units.BaseWidth(),
                        2 * units.BaseHeight()));
    }
}

TEST(DialogUnitsTest, RoundsToTheNearestPixel) {
    const DialogUnits units(QApplication::font());
    for (int du = -50; du <= 400; ++du) {
        const double exactX = du * units.BaseWidth() / 4.0;
        const double exactY = du * units.BaseHeight() / 8.0;
        EXPECT_LE(std::abs(units.ToPixelsX(du) - exactX), 0.5) << du;
        EXPECT_LE(std::abs(units.ToPixelsY(du) - exactY), 0.5) << du;
    }
}

TEST(DialogUnitsTest, ALargerFontMakesALargerLayout) {
    QFont small = QApplication::font();
    small.setPointSize(8);
    QFont large = small;
    large.setPointSize(16);
    EXPECT_LT(DialogUnits(small).ToPixels(235, 113).width(),
              DialogUnits(large).ToPixels(235, 113).width());
    EXPECT_LT(DialogUnits(small).ToPixels(235, 113).height(),
              DialogUnits(large).ToPixels(235, 113).height());
}

}  // namespace
