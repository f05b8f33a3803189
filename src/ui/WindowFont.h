#pragma once
// The logical fonts of the windows. "MS Sans Serif" does not exist on Linux; the
// font database maps it onto an installed sans font of similar metrics, while the
// windows (and a result file) keep the logical name.
#include <QFont>

namespace vt {

inline constexpr char kLogicalFontName[] = "MS Sans Serif";

void InstallFontSubstitution();
// 8 point at the standard resolution: character height 11 pixels.
QFont WindowFont();
// Font of the About box title: 12 point (height 16), bold italic.
QFont AboutTitleFont();

}  // namespace vt
