// Where a link goes when it is fitted to its text: the rectangle shrinks or
// grows to the text's extent plus its borders, keeping the edge (or the
// centre) that its alignment holds fixed.
#pragma once

#include <cstdint>

// A rectangle as edges, right and bottom exclusive (width = right - left).
struct EdgeRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const EdgeRect&) const = default;
};

struct TextExtent {
    int cx = 0;
    int cy = 0;
};

// The alignment bits that fitting looks at.
enum StaticStyle : std::uint32_t {
    kCenter = 0x0001,       // centred horizontally: the centre stays
    kRight = 0x0002,        // right-aligned: the right edge stays
    kCenterImage = 0x0200,  // centred vertically: the vertical centre stays
};

// `window` and `client` in the same coordinates; `text` is the text's extent
// in the link's font. Without kCenter or kRight the left edge stays; without
// kCenterImage the top edge stays. A centred rectangle moves by half the
// difference on each side, rounded toward zero.
EdgeRect FittedRect(const EdgeRect& window, const EdgeRect& client, TextExtent text,
                    std::uint32_t style);
