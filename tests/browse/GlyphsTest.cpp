#include <gtest/gtest.h>

#include <QSet>

#include "browse/Glyphs.h"

namespace vt {
namespace {

TEST(Glyphs, HaveTheirSizesSixteenColoursAndATransparentBottomLeftColour) {
  const struct {
    TGlyph glyph;
    int width, height;
  } cases[] = {
      {TGlyph::Floppy, 16, 11},        {TGlyph::Hard, 16, 11},         {TGlyph::Network, 16, 11},
      {TGlyph::Cdrom, 16, 11},         {TGlyph::Ram, 16, 11},          {TGlyph::OpenFolder, 16, 15},
      {TGlyph::CurrentFolder, 16, 15}, {TGlyph::ClosedFolder, 16, 15},
  };
  for (const auto& c : cases) {
    const QImage source = GlyphSource(c.glyph);
    ASSERT_FALSE(source.isNull()) << int(c.glyph);
    EXPECT_EQ(source.size(), QSize(c.width, c.height)) << int(c.glyph);
    QSet<QRgb> colours;
    for (int y = 0; y < source.height(); ++y)
      for (int x = 0; x < source.width(); ++x) colours.insert(source.pixel(x, y));
    EXPECT_LE(colours.size(), 16) << int(c.glyph);
    const QImage& drawn = GlyphImage(c.glyph);
    const QRgb key = source.pixel(0, source.height() - 1);
    int opaque = 0;
    for (int y = 0; y < drawn.height(); ++y)
      for (int x = 0; x < drawn.width(); ++x) {
        const bool transparent = qAlpha(drawn.pixel(x, y)) == 0;
        EXPECT_EQ(transparent, source.pixel(x, y) == key) << int(c.glyph) << " at " << x << "," << y;
        opaque += transparent ? 0 : 1;
      }
    EXPECT_GT(opaque, 20) << int(c.glyph);
  }
}

TEST(Glyphs, AreEightDifferentPictures) {
  const TGlyph all[] = {TGlyph::Floppy, TGlyph::Hard,       TGlyph::Network,       TGlyph::Cdrom,
                        TGlyph::Ram,    TGlyph::OpenFolder, TGlyph::CurrentFolder, TGlyph::ClosedFolder};
  for (std::size_t i = 0; i < std::size(all); ++i)
    for (std::size_t j = i + 1; j < std::size(all); ++j) EXPECT_NE(GlyphImage(all[i]), GlyphImage(all[j]));
}

}  // namespace
}  // namespace vt
