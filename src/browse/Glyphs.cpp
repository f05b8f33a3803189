#include "browse/Glyphs.h"

#include <array>
#include <map>

namespace vt {

namespace {

// XPM pictures; ' ' (magenta) is the background.
#define VT_PALETTE                                                                                                  \
  " 	c #FF00FF", ".	c #000000", "w	c #FFFFFF", "s	c #C0C0C0", "g	c #808080", "G	c #00FF00", "e	c #008000", \
      "y	c #FFFF00", "o	c #808000", "b	c #000080", "c	c #00FFFF", "t	c #008080", "r	c #800000",         \
      "R	c #FF0000", "B	c #0000FF", "p	c #800080"

const char* const kFloppy[] = {"16 11 16 1",       VT_PALETTE,         "                ", " wwwwwwwwwwwwww ",
                               " wssssssssssssg.", " ws..........sg.", " wsggggggggggsg.", " wssssssssssssg.",
                               " wsssssssssbbsg.", " wssssssssssssg.", " wggggggggggggg.", "  ..............",
                               "                "};
const char* const kHard[] = {"16 11 16 1",       VT_PALETTE,         "                ", "                ",
                             " wwwwwwwwwwwwww ", " wssssssssssssg.", " wssssssssssssg.", " wsggggggsssGsg.",
                             " wssssssssssssg.", " wggggggggggggg.", "  ..............", "                ",
                             "                "};
const char* const kNetwork[] = {"16 11 16 1",       VT_PALETTE,         " wwwwwwwwwwwwww ", " wssssssssssssg.",
                                " wssssssssssGsg.", " wggggggggggggg.", "  ..............", "       ..       ",
                                "       ..       ", "  ............  ", "  ..        ..  ", "                ",
                                "                "};
const char* const kCdrom[] = {"16 11 16 1",       VT_PALETTE,         "                ", " wwwwwwwwwwwwww ",
                              " wssssssssssssg.", " wssssssssssGsg.", " wggggggggggggg.", "  ..............",
                              "  wcccccccccccg.", "  wsccbbbbbccsg.", "  wgggggggggggg.", "   .............",
                              "                "};
const char* const kRam[] = {"16 11 16 1",       VT_PALETTE,         "                ", "                ",
                            " eeeeeeeeeeeeee ", " e..e..e..e..ee ", " e..e..e..e..ee ", " e..e..e..e..ee ",
                            " eeeeeeeeeeeeee ", " y.y.y.y.y.y.y. ", "                ", "                ",
                            "                "};
const char* const kOpenFolder[] = {"16 15 16 1",       VT_PALETTE,         "                ", "  .....         ",
                                   " .yyyyy.        ", ".yyyyyyy......  ", ".yyyyyyyyyyyyy. ", ".yyy............",
                                   ".yy.wyyyyyyyyyo.", ".yy.yyyyyyyyyo. ", ".y.wyyyyyyyyyo. ", ".y.yyyyyyyyyo.  ",
                                   "..wyyyyyyyyyo.  ", "..yyyyyyyyyo.   ", "............    ", "                ",
                                   "                "};
// The open folder lit up: white flap, blue outline.
const char* const kCurrentFolder[] = {"16 15 16 1",       VT_PALETTE,         "                ", "  bbbbb         ",
                                      " byyyyyb        ", "byyyyyyybbbbbb  ", "byyyyyyyyyyyyyb ", "byyybbbbbbbbbbbb",
                                      "byybwwwwwwwwwwcb", "byybwwwwwwwwwcb ", "bybwwwwwwwwwwcb ", "bybwwwwwwwwwcb  ",
                                      "bbwwwwwwwwwwcb  ", "bbwwwwwwwwwcb   ", "bbbbbbbbbbbb    ", "                ",
                                      "                "};
const char* const kClosedFolder[] = {"16 15 16 1",       VT_PALETTE,         "                ", "                ",
                                     "  .....         ", " .yyyyy.        ", ".yyyyyyy......  ", ".wwwwwwwwwwwww. ",
                                     ".wyyyyyyyyyyyo. ", ".wyyyyyyyyyyyo. ", ".wyyyyyyyyyyyo. ", ".wyyyyyyyyyyyo. ",
                                     ".wyyyyyyyyyyyo. ", ".wyyyyyyyyyyyo. ", ".ooooooooooooo. ", " .............  ",
                                     "                "};
#undef VT_PALETTE

const char* const* Source(TGlyph glyph) {
  switch (glyph) {
    case TGlyph::Floppy: return kFloppy;
    case TGlyph::Hard: return kHard;
    case TGlyph::Network: return kNetwork;
    case TGlyph::Cdrom: return kCdrom;
    case TGlyph::Ram: return kRam;
    case TGlyph::OpenFolder: return kOpenFolder;
    case TGlyph::CurrentFolder: return kCurrentFolder;
    case TGlyph::ClosedFolder: return kClosedFolder;
  }
  return kHard;
}

QImage WithTransparentKey(const QImage& source) {
  QImage image = source.convertToFormat(QImage::Format_ARGB32);
  const QRgb key = image.pixel(0, image.height() - 1);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) == key) image.setPixel(x, y, qRgba(0, 0, 0, 0));
  return image;
}

}  // namespace

QImage GlyphSource(TGlyph glyph) { return QImage(Source(glyph)); }

const QImage& GlyphImage(TGlyph glyph) {
  static std::map<TGlyph, QImage> images;
  auto found = images.find(glyph);
  if (found == images.end()) found = images.emplace(glyph, WithTransparentKey(GlyphSource(glyph))).first;
  return found->second;
}

}  // namespace vt
