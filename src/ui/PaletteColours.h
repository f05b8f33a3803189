#pragma once
// Colours of the window's texts taken from the palette, so that a dark desktop
// palette stays readable.
#include <QColor>
#include <QPalette>
#include <cstdint>

namespace vt {

// WCAG contrast ratio of two colours, 1 to 21.
double ContrastRatio(const QColor& a, const QColor& b);
// Text lighter than its background.
bool IsDarkPalette(const QPalette& palette);

// The result list's colour value (0x00BBGGRR) on screen: black rows in the
// palette's text colour; grey rows, in a dark palette, in a tone between text
// and base that still reads at 4.5:1. Other colours are shown as they are.
QColor RowTextColor(std::uint32_t color, const QPalette& palette);

// A dark palette as dark desktop themes give it, for screenshots and tests.
QPalette DarkPalette();

}  // namespace vt
