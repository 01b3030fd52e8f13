#include "controls/FittedRect.h"

EdgeRect FittedRect(const EdgeRect& window, const EdgeRect& client, TextExtent text,
                    std::uint32_t style) {
    const int cx = text.cx + window.Width() - client.Width();
    const int cy = text.cy + window.Height() - client.Height();
    EdgeRect fitted = window;
    if (style & kCenterImage) {
        const int shift = (window.Height() - cy) / 2;
        fitted.top += shift;
        fitted.bottom -= shift;
    } else {
        fitted.bottom = fitted.top + cy;
    }
    if (style & kCenter) {
        const int shift = (window.Width() - cx) / 2;
        fitted.left += shift;
        fitted.right -= shift;
    } else if (style & kRight) {
        fitted.left = fitted.right - cx;
    } else {
        fitted.right = fitted.left + cx;
    }
    return fitted;
}
