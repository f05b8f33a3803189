#include "ui/PaletteColours.h"

#include <algorithm>
#include <cmath>

#include "results/ResultLayout.h"

namespace vt {

namespace {

constexpr double kReadable = 4.5;

double Channel(double value) { return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4); }

double Luminance(const QColor& colour) {
  const QColor rgb = colour.toRgb();
  return 0.2126 * Channel(rgb.redF()) + 0.7152 * Channel(rgb.greenF()) + 0.0722 * Channel(rgb.blueF());
}

QColor Mix(const QColor& from, const QColor& to, double share) {
  const auto part = [share](float a, float b) { return double(a) + (double(b) - double(a)) * share; };
  return QColor::fromRgbF(float(part(from.redF(), to.redF())), float(part(from.greenF(), to.greenF())),
                          float(part(from.blueF(), to.blueF())));
}

// The tone of a grey row: as far towards the base as reading allows, at most half way.
QColor DimmedText(const QPalette& palette) {
  const QColor text = palette.color(QPalette::Text);
  const QColor base = palette.color(QPalette::Base);
  for (double share = 0.5; share > 0.0; share -= 0.05) {
    const QColor tone = Mix(text, base, share);
    if (ContrastRatio(tone, base) >= kReadable) return tone;
  }
  return text;
}

}  // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

bool IsDarkPalette(const QPalette& palette) {
  return Luminance(palette.color(QPalette::Text)) > Luminance(palette.color(QPalette::Base));
}

QColor RowTextColor(std::uint32_t color, const QPalette& palette) {
  // System colour values (high byte set) and black are the palette's text.
  if ((color & 0xFF000000u) != 0 || color == TextColor::Black) return palette.color(QPalette::Text);
  if (color == TextColor::Gray && IsDarkPalette(palette)) return DimmedText(palette);
  return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

QPalette DarkPalette() {
  QPalette dark;
  const QColor window(53, 53, 53), base(42, 42, 42), text(230, 230, 230), disabled(127, 127, 127);
  const QColor highlight(42, 130, 218);
  dark.setColor(QPalette::Window, window);
  dark.setColor(QPalette::WindowText, text);
  dark.setColor(QPalette::Base, base);
  dark.setColor(QPalette::AlternateBase, QColor(66, 66, 66));
  dark.setColor(QPalette::ToolTipBase, text);
  dark.setColor(QPalette::ToolTipText, window);
  dark.setColor(QPalette::PlaceholderText, disabled);
  dark.setColor(QPalette::Text, text);
  dark.setColor(QPalette::Button, window);
  dark.setColor(QPalette::ButtonText, text);
  dark.setColor(QPalette::BrightText, Qt::red);
  dark.setColor(QPalette::Light, QColor(80, 80, 80));
  dark.setColor(QPalette::Midlight, QColor(66, 66, 66));
  dark.setColor(QPalette::Mid, QColor(40, 40, 40));
  dark.setColor(QPalette::Dark, QColor(30, 30, 30));
  dark.setColor(QPalette::Shadow, QColor(20, 20, 20));
  dark.setColor(QPalette::Link, highlight);
  dark.setColor(QPalette::Highlight, highlight);
  dark.setColor(QPalette::HighlightedText, Qt::black);
  dark.setColor(QPalette::Disabled, QPalette::WindowText, disabled);
  dark.setColor(QPalette::Disabled, QPalette::Text, disabled);
  dark.setColor(QPalette::Disabled, QPalette::ButtonText, disabled);
  return dark;
}

}  // namespace vt
