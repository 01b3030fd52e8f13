// Text colours that stay readable on the background they are drawn on: the
// contrast ratio of two colours as accessibility guidelines define it, and
// the choice of a colour that reaches the ratio normal text needs.
#pragma once

#include <QColor>
#include <initializer_list>

inline constexpr double kReadableContrast = 4.5;

// From 1 (the same luminance) to 21 (black on white), either order.
double ContrastRatio(const QColor& first, const QColor& second);

// The first of `preferred` (at least one colour) that reaches kReadableContrast on `background`;
// when none does, the last one mixed with white (on a dark background) or
// black (on a light one) just far enough to reach it.
QColor ReadableColor(const QColor& background, std::initializer_list<QColor> preferred);
