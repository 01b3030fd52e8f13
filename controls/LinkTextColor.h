// The colours a link is drawn in, and which of them applies: the hover
// colour while the pointer is over it, the visited colour after it was
// opened, the link colour otherwise.
#pragma once

#include <cstdint>

// A colour as 0x00BBGGRR: red in the lowest byte, blue in the third.
using ColorRef = std::uint32_t;

constexpr ColorRef Rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return static_cast<ColorRef>(red) | static_cast<ColorRef>(green) << 8 |
           static_cast<ColorRef>(blue) << 16;
}
constexpr std::uint8_t RedOf(ColorRef color) {
    return color & 0xFF;
}
constexpr std::uint8_t GreenOf(ColorRef color) {
    return (color >> 8) & 0xFF;
}
constexpr std::uint8_t BlueOf(ColorRef color) {
    return (color >> 16) & 0xFF;
}

struct LinkColors {
    ColorRef link = Rgb(0, 0, 238);
    ColorRef visited = Rgb(85, 26, 139);
    ColorRef hover = Rgb(255, 0, 0);
};

// Hovering wins over visited, so the pointer always shows what it is on.
ColorRef LinkTextColor(const LinkColors& colors, bool hovering, bool visited);
