#include "controls/ReadableColor.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

double LinearChannel(double channel) {
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double RelativeLuminance(const QColor& color) {
    return 0.2126 * LinearChannel(color.redF()) + 0.7152 * LinearChannel(color.greenF()) +
           0.0722 * LinearChannel(color.blueF());
}

// Eight bits a channel, as the colour is painted, so that rounding cannot
// take it below the ratio it was chosen for.
QColor Mix(const QColor& from, const QColor& to, double share) {
    const auto channel = [share](int a, int b) {
        return static_cast<int>(std::lround(a + (b - a) * share));
    };
    return QColor(channel(from.red(), to.red()), channel(from.green(), to.green()),
                  channel(from.blue(), to.blue()));
}

}  // namespace

double ContrastRatio(const QColor& first, const QColor& second) {
    const double a = RelativeLuminance(first);
    const double b = RelativeLuminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

QColor ReadableColor(const QColor& background, std::initializer_list<QColor> preferred) {
    for (const QColor& color : preferred) {
        if (ContrastRatio(color, background) >= kReadableContrast) {
            return color;
        }
    }
    // White or black, whichever stands out more, reaches at least 4.58 on
    // any background, so the search always ends readable.
    const QColor white(255, 255, 255);
    const QColor black(0, 0, 0);
    const QColor extreme =
        ContrastRatio(white, background) >= ContrastRatio(black, background) ? white : black;
    const QColor base = *std::prev(preferred.end());
    double low = 0;
    double high = 1;
    for (int step = 0; step < 16; ++step) {
        const double middle = (low + high) / 2;
        if (ContrastRatio(Mix(base, extreme, middle), background) >= kReadableContrast) {
            high = middle;
        } else {
            low = middle;
        }
    }
    return Mix(base, extreme, high);
}
