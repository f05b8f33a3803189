#include "ui/WindowFont.h"

#include <QStringList>

namespace vt {

void InstallFontSubstitution() {
  // Liberation Sans has the widths of the sans fonts the layout was drawn for;
  // DejaVu Sans is wider and only a fallback.
  QFont::insertSubstitutions(kLogicalFontName, {"Liberation Sans", "DejaVu Sans"});
}

QFont WindowFont() {
  QFont font(kLogicalFontName);
  font.setPixelSize(11);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

QFont AboutTitleFont() {
  QFont font(kLogicalFontName);
  font.setPixelSize(16);
  font.setBold(true);
  font.setItalic(true);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

}  // namespace vt
