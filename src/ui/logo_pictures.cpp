#include "ui/logo_pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace numvex {

namespace {

const QColor kNavy(0x1f, 0x2f, 0x5c);
const QColor kPaper(0xf6, 0xf3, 0xe6);
const QColor kFigures(0x6a, 0x76, 0x96);
const QColor kTotal(0xd9, 0x6a, 0x1e);

// A strip from `left` to `right` between `top` and `bottom` whose right end is torn.
QPainterPath TornStrip(qreal left, qreal top, qreal right, qreal bottom, qreal tooth) {
  QPainterPath path;
  path.moveTo(left, top);
  for (qreal y = top; y < bottom; y += 2 * tooth) {
    path.lineTo(right, y);
    path.lineTo(right + tooth, y + tooth);
  }
  path.lineTo(right, bottom);
  path.lineTo(left, bottom);
  path.closeSubpath();
  return path;
}

}  // namespace

QPixmap DrawProgramMark(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / 64.0, size / 64.0);  // drawn on a 64-pixel grid
  painter.setPen(Qt::NoPen);
  painter.setBrush(kNavy);
  painter.drawRoundedRect(QRectF(2, 2, 60, 60), 10, 10);
  // The tape hangs down with its torn edge at the bottom.
  QPainterPath tape;
  tape.moveTo(20, 8);
  tape.lineTo(44, 8);
  tape.lineTo(44, 50);
  for (int x = 44; x > 20; x -= 6) {
    tape.lineTo(x - 3, 54);
    tape.lineTo(x - 6, 50);
  }
  tape.closeSubpath();
  painter.setBrush(kPaper);
  painter.drawPath(tape);
  painter.setPen(QPen(kFigures, 2));
  for (int y = 15; y <= 33; y += 6) painter.drawLine(27, y, 39, y);
  painter.setPen(QPen(kTotal, 2));
  painter.drawLine(24, 39, 40, 39);
  painter.drawLine(31, 44, 39, 44);
  return pixmap;
}

QPixmap DrawMakerBanner(QSize size) {
  QPixmap pixmap(size);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  QLinearGradient band(0, 0, 0, size.height());
  band.setColorAt(0, kNavy.lighter(140));
  band.setColorAt(1, kNavy.darker(130));
  painter.fillRect(pixmap.rect(), band);

  // The roll sits at the left; its tape runs to the right and ends torn.
  const qreal centre_y = size.height() / 2.0;
  const qreal radius = size.height() * 0.3;
  const qreal roll_x = 18 + radius;
  const qreal tape_top = centre_y + radius * 0.1;
  const qreal tape_bottom = centre_y + radius;
  const qreal tape_end = size.width() - 28.0;
  painter.setPen(Qt::NoPen);
  painter.setBrush(kPaper);
  painter.drawPath(TornStrip(roll_x, tape_top, tape_end, tape_bottom, 4));
  painter.drawEllipse(QPointF(roll_x, centre_y), radius, radius);
  painter.setBrush(kPaper.darker(125));
  painter.drawEllipse(QPointF(roll_x, centre_y), radius * 0.35, radius * 0.35);

  // Figures in a row along the tape, the last one underlined as the total.
  const qreal row_y = (tape_top + tape_bottom) / 2;
  const qreal step = 30;
  qreal x = roll_x + radius + 12;
  painter.setPen(QPen(kFigures, 3, Qt::SolidLine, Qt::RoundCap));
  for (; x + 2 * step < tape_end; x += step) painter.drawLine(QPointF(x, row_y), {x + 16, row_y});
  painter.setPen(QPen(kTotal, 3, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(QPointF(x, row_y - 3), {x + 22, row_y - 3});
  painter.drawLine(QPointF(x, row_y + 4), {x + 22, row_y + 4});

  // Faint rulings above the tape keep the band from looking empty.
  painter.setPen(QPen(QColor(255, 255, 255, 40), 1));
  for (qreal y = 14; y < tape_top - radius * 0.9; y += 10) {
    painter.drawLine(QPointF(roll_x + radius + 8, y), {tape_end, y});
  }
  return pixmap;
}

}  // namespace numvex
