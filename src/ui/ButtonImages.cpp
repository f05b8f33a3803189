#include "ui/ButtonImages.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>

namespace vt {
namespace {

QPixmap Blank(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

QPolygonF BoltOutline() {
  return QPolygonF({{12.5, 0.5}, {4.0, 11.0}, {9.0, 11.0}, {6.5, 19.5}, {16.0, 7.5}, {11.0, 7.5}, {15.0, 0.5}});
}

}  // namespace

QPixmap UndoArrowImage() {
  QPixmap pixmap = Blank(20);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor blue(0, 0, 128);
  QPainterPath shaft;
  shaft.moveTo(15.5, 17.5);
  shaft.cubicTo(19.0, 11.0, 15.0, 5.5, 8.0, 6.5);
  p.setPen(QPen(blue, 3.0, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  p.drawPath(shaft);
  p.setPen(QPen(blue, 1.0));
  p.setBrush(blue);
  p.drawPolygon(QPolygonF({{1.5, 7.0}, {9.0, 1.0}, {9.5, 12.5}}));
  return pixmap;
}

QPixmap ProhibitionImage() {
  QPixmap pixmap = Blank(16);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::black);
  p.drawRect(QRectF(7.0, 3.5, 2.0, 6.0));
  p.drawRect(QRectF(7.0, 10.5, 2.0, 2.0));
  const QColor red(220, 0, 0);
  p.setPen(QPen(red, 2.0));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QPointF(8.0, 8.0), 6.5, 6.5);
  p.drawLine(QPointF(3.4, 3.4), QPointF(12.6, 12.6));
  return pixmap;
}

QPixmap LightningBoltImage() {
  QPixmap pixmap = Blank(20);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(128, 96, 0), 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  p.setBrush(QColor(255, 220, 0));
  p.drawPolygon(BoltOutline());
  return pixmap;
}

QPixmap HollowBoltImage() {
  QPixmap pixmap = Blank(20);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient fill(4, 0, 16, 20);
  fill.setColorAt(0.0, Qt::white);
  fill.setColorAt(1.0, QColor(160, 160, 160));
  p.setPen(QPen(QColor(0, 170, 210), 1.2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  p.setBrush(fill);
  p.drawPolygon(BoltOutline());
  return pixmap;
}

QPixmap DoorImage() {
  QPixmap pixmap = Blank(16);
  QPainter p(&pixmap);
  p.setPen(QColor(64, 0, 0));
  p.setBrush(QColor(128, 0, 0));
  p.drawRect(3, 0, 9, 15);
  p.setPen(QColor(64, 0, 0));
  p.setBrush(QColor(150, 210, 255));
  p.drawRect(5, 2, 5, 4);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 230, 0));
  p.drawEllipse(QPointF(10.0, 9.5), 1.4, 1.4);
  return pixmap;
}

QPixmap OkGlyphImage() {
  QPixmap pixmap = Blank(16);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(0, 128, 0), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPolyline(QPolygonF({{2.5, 8.5}, {6.0, 12.5}, {13.5, 3.5}}));
  return pixmap;
}

QPixmap ProgramIconImage() {
  // Drawn without smoothing, in colours of the 16-colour palette.
  const QColor navy(0, 0, 128), grey(128, 128, 128), silver(192, 192, 192), black(0, 0, 0);
  QPixmap pixmap = Blank(32);
  QPainter p(&pixmap);
  p.setPen(black);
  p.setBrush(silver);
  p.drawRect(1, 2, 29, 27);
  p.fillRect(2, 3, 28, 5, navy);
  p.fillRect(25, 4, 3, 3, silver);
  p.setPen(grey);
  p.setBrush(Qt::white);
  p.drawRect(3, 9, 25, 18);
  const int rows[] = {11, 14, 17, 20, 23};
  for (int i = 0; i < 5; ++i) {
    const int y = rows[i];
    if (i == 2) {
      p.fillRect(4, y - 1, 18, 3, navy);
      p.fillRect(6, y, 13, 1, Qt::white);
    } else {
      p.fillRect(6, y, 4 + (i * 5) % 11, 1, black);
      p.fillRect(18, y, 6, 1, grey);
    }
  }
  return pixmap;
}

QImage GreyCopy(const QImage& image) {
  QImage grey = image.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < grey.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(grey.scanLine(y));
    for (int x = 0; x < grey.width(); ++x) {
      const int alpha = qAlpha(line[x]);
      if (alpha == 0) continue;
      // Lightened grey keeps the shape readable without the colour.
      const int level = std::min(255, 96 + qGray(line[x]) / 2);
      line[x] = qRgba(level, level, level, alpha);
    }
  }
  return grey;
}

QIcon ButtonIcon(const QPixmap& normal) {
  QIcon icon;
  icon.addPixmap(normal, QIcon::Normal);
  icon.addPixmap(QPixmap::fromImage(GreyCopy(normal.toImage())), QIcon::Disabled);
  return icon;
}

}  // namespace vt
