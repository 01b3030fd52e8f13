#include "res/AppIcon.h"

#include <QIconEngine>
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

// Loads a rendering only when something asks for it: adding every size to a
// QIcon up front opens and reads eight files while the window starts, and
// most of them are never drawn.
class LazyIconEngine final : public QIconEngine {
public:
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QPixmap rendering = Rendering(SizeFor(size));
        if (!rendering.isNull() && rendering.size() != size) {
            rendering = rendering.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        }
        return mode == QIcon::Normal ? rendering : QIconEngine::pixmap(size, mode, state);
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int side = SizeFor(size);
        return QSize(side, side).boundedTo(size);
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> sizes;
        for (const int side : kSizes) {
            sizes.append(QSize(side, side));
        }
        return sizes;
    }

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
            found = m_loaded
                        .emplace(side,
                                 QPixmap(QStringLiteral(":/olvanta/icons/olvanta-%1.png").arg(side),
                                         "PNG"))
                        .first;
        }
        return found->second;
    }

    std::map<int, QPixmap> m_loaded;
};

}  // namespace

QIcon OlvantaIcon() {
    InitOlvantaResources();
    return QIcon(new LazyIconEngine);  // the icon owns its engine
}
