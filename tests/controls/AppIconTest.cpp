#include "res/AppIcon.h"

#include <gtest/gtest.h>

#include <QIcon>
#include <QImage>

namespace {

QImage PngFile(int side) {
    return QImage(QStringLiteral(":/olvanta/icons/olvanta-%1.png").arg(side))
        .convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage Drawn(const QIcon& icon, int side) {
    return icon.pixmap(QSize(side, side))
        .toImage()
        .convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// The icon decodes its files without Qt's image reader: each size must be the
// very picture Qt reads from the same file.
TEST(AppIconTest, EverySizeIsThePictureOfItsFile) {
    const QIcon icon = OlvantaIcon();
    ASSERT_FALSE(icon.availableSizes().isEmpty());
    for (const QSize& size : icon.availableSizes()) {
        const QImage expected = PngFile(size.width());
        ASSERT_FALSE(expected.isNull()) << size.width();
        EXPECT_EQ(Drawn(icon, size.width()), expected) << size.width();
    }
}

TEST(AppIconTest, TheTitleBarIconOffersOneSizeAndDrawsLargerOnesSharp) {
    const QIcon icon = OlvantaTitleBarIcon();
    EXPECT_EQ(icon.availableSizes(), QList<QSize>{QSize(16, 16)});
    EXPECT_EQ(Drawn(icon, 16), PngFile(16));
    EXPECT_EQ(Drawn(icon, 32), PngFile(32));  // a screen scaled by two
}

// Disabled and selected looks are made from the same picture, not left empty.
TEST(AppIconTest, EveryModeDrawsThePicture) {
    for (const QIcon::Mode mode : {QIcon::Disabled, QIcon::Active, QIcon::Selected}) {
        const QImage drawn = OlvantaIcon().pixmap(QSize(32, 32), mode).toImage();
        ASSERT_EQ(drawn.size(), QSize(32, 32)) << mode;
        EXPECT_GT(qAlpha(drawn.pixel(16, 16)), 0) << mode;
    }
}

}  // namespace
