#include "res/AppIcon.h"

#include <png.h>

#include <QFile>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QString>
#include <array>
#include <map>

// Q_INIT_RESOURCE must stand outside any namespace.
void InitOlvantaResources() {
    // Referencing the resource's registration keeps the linker from dropping
    // it from a static library that nothing else refers to.
    Q_INIT_RESOURCE(olvanta);
}

namespace {

constexpr std::array kSizes{16, 22, 24, 32, 48, 64, 128, 256};

// The PNG rendering of one size. Qt's own image reading would first load
// every image-format plug-in installed to ask whether one of them reads PNG
// better, which costs the window's start more than the decoding; libpng,
// which Qt decodes PNGs with anyway, reads the file directly.
QPixmap LoadRendering(int side) {
    QFile file(QStringLiteral(":/olvanta/icons/olvanta-%1.png").arg(side));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray bytes = file.readAll();
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_memory(&png, bytes.constData(),
                                         static_cast<std::size_t>(bytes.size())) == 0) {
        return {};
    }
    png.format = PNG_FORMAT_BGRA;  // QImage::Format_ARGB32 in a little-endian machine's memory
    QImage image(static_cast<int>(png.width), static_cast<int>(png.height), QImage::Format_ARGB32);
    if (image.isNull() ||
        png_image_finish_read(&png, nullptr, image.bits(),
                              static_cast<png_int_32>(image.bytesPerLine()), nullptr) == 0) {
        png_image_free(&png);
        return {};
    }
    return QPixmap::fromImage(std::move(image));
}

// Loads a rendering only when something asks for it: adding every size to a
// QIcon up front opens and reads eight files while the window starts, and
// most of them are never drawn. `offered` are the sizes the icon tells the
// window system about; any size is drawn from the nearest rendering.
class LazyIconEngine final : public QIconEngine {
public:
    explicit LazyIconEngine(QList<QSize> offered) : m_offered(std::move(offered)) {}

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QPixmap rendering = Rendering(SizeFor(size));
        if (!rendering.isNull() && rendering.size() != size) {
            rendering = rendering.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        }
        // The disabled, active and selected looks are the style's to make from
        // the plain rendering; the base class would paint, and so call back here.
        return mode == QIcon::Normal ? rendering : QIcon(rendering).pixmap(size, mode, state);
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int side = SizeFor(size);
        return QSize(side, side).boundedTo(size);
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return m_offered; }

    QIconEngine* clone() const override { return new LazyIconEngine(*this); }
    QString key() const override { return QStringLiteral("OlvantaLazyIconEngine"); }

private:
    // The smallest rendering at least as large as asked, else the largest.
    static int SizeFor(const QSize& size) {
        const int wanted = std::max(size.width(), size.height());
        for (const int side : kSizes) {
            if (side >= wanted) {
                return side;
            }
        }
        return kSizes.back();
    }

    QPixmap Rendering(int side) {
        auto found = m_loaded.find(side);
        if (found == m_loaded.end()) {
            found = m_loaded.emplace(side, LoadRendering(side)).first;
        }
        return found->second;
    }

    QList<QSize> m_offered;
    std::map<int, QPixmap> m_loaded;
};

QIcon IconOffering(QList<QSize> sizes) {
    InitOlvantaResources();
    return QIcon(new LazyIconEngine(std::move(sizes)));  // the icon owns its engine
}

}  // namespace

QIcon OlvantaIcon() {
    QList<QSize> sizes;
    for (const int side : kSizes) {
        sizes.append(QSize(side, side));
    }
    return IconOffering(std::move(sizes));
}

QIcon OlvantaTitleBarIcon() {
    return IconOffering({QSize(kSizes.front(), kSizes.front())});
}
