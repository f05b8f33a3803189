#pragma once
// The pictures of the buttons and the program icon, drawn here rather than
// shipped as files.
#include <QIcon>
#include <QImage>
#include <QPixmap>

namespace vt {

QPixmap UndoArrowImage();      // 20 x 20, dark blue arrow curving back to the left
QPixmap ProhibitionImage();    // 16 x 16, red prohibition sign over an exclamation mark
QPixmap LightningBoltImage();  // 20 x 20, yellow bolt
QPixmap HollowBoltImage();     // 20 x 20, the bolt hollow: white and grey, cyan edge
QPixmap DoorImage();           // 16 x 16, dark red door, light blue window, yellow knob
QPixmap OkGlyphImage();        // 16 x 16, green check mark
QPixmap ProgramIconImage();    // 32 x 32, 16 colours: a window with a list, one name highlighted

// The grey copy a button shows while disabled.
QImage GreyCopy(const QImage& image);
// Normal image plus its grey copy for the disabled look.
QIcon ButtonIcon(const QPixmap& normal);

}  // namespace vt
