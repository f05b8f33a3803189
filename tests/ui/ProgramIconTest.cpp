// The icon installed for the desktop is the picture the window and the About box
// draw: the theme's 32-pixel icon, rendered from the SVG at build time, matches
// it pixel for pixel.
#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>

#include "ui/ButtonImages.h"

namespace vt {
namespace {

#ifdef VELTRANE_ICON_32
TEST(ProgramIcon, ThemeIconIsTheWindowsPicture) {
  const QImage theme = QImage(VELTRANE_ICON_32).convertToFormat(QImage::Format_ARGB32);
  ASSERT_FALSE(theme.isNull()) << VELTRANE_ICON_32;
  const QImage drawn = ProgramIconImage().toImage().convertToFormat(QImage::Format_ARGB32);
  ASSERT_EQ(theme.size(), drawn.size());
  int differing = 0;
  for (int y = 0; y < drawn.height(); ++y) {
    for (int x = 0; x < drawn.width(); ++x) {
      const QRgb a = theme.pixel(x, y), b = drawn.pixel(x, y);
      // Both transparent, or the same opaque colour.
      const bool same = (qAlpha(a) == 0 && qAlpha(b) == 0) || a == b;
      if (!same && ++differing <= 5)
        ADD_FAILURE() << "pixel " << x << "," << y << ": theme " << std::hex << a << ", drawn " << b;
    }
  }
  EXPECT_EQ(differing, 0);
}
#endif

}  // namespace
}  // namespace vt
