#pragma once
// The small pictures of the drive box and the folder list: 16 colours, the
// colour of the bottom-left pixel drawn transparent.
#include <QImage>

namespace vt {

enum class TGlyph { Floppy, Hard, Network, Cdrom, Ram, OpenFolder, CurrentFolder, ClosedFolder };

// The picture as drawn, with its bottom-left colour made transparent.
const QImage& GlyphImage(TGlyph glyph);
// The picture as made, 16 colours, no transparency.
QImage GlyphSource(TGlyph glyph);

}  // namespace vt
