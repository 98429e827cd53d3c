#include "config/options_pictures.h"

#include <QPainter>
#include <QPainterPath>

#include "ui/qt_color.h"

namespace numvex {

namespace {

constexpr int kFlagWidth = 24;
constexpr int kFlagHeight = 14;

QPixmap BlankFlag() {
  QPixmap flag(FlagSize());
  flag.fill(Qt::transparent);
  return flag;
}

// A hairline round the flag keeps its light parts apart from a light list.
void Outline(QPainter& painter) {
  painter.setPen(QColor(96, 96, 96));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(QRectF(0.5, 0.5, kFlagWidth - 1, kFlagHeight - 1));
}

QColor Navy() { return ToQColor(clNavy, QPalette()); }

}  // namespace

QSize FlagSize() { return {kFlagWidth, kFlagHeight}; }

QPixmap GermanFlag() {
  QPixmap flag = BlankFlag();
  QPainter painter(&flag);
  const QColor bars[] = {Qt::black, QColor(221, 0, 0), QColor(255, 206, 0)};
  for (int i = 0; i < 3; ++i) {
    const int top = i * kFlagHeight / 3;
    const int bottom = (i + 1) * kFlagHeight / 3;
    painter.fillRect(0, top, kFlagWidth, bottom - top, bars[i]);
  }
  Outline(painter);
  return flag;
}

QPixmap EnglishFlag() {
  QPixmap flag = BlankFlag();
  QPainter painter(&flag);
  painter.setRenderHint(QPainter::Antialiasing);
  // Drawn on a 60x30 grid, the usual proportions of such a flag, stretched onto the icon.
  painter.scale(kFlagWidth / 60.0, kFlagHeight / 30.0);
  painter.setClipRect(0, 0, 60, 30);
  painter.fillRect(0, 0, 60, 30, QColor(1, 33, 105));
  const QColor white(Qt::white);
  const QColor red(200, 16, 46);
  auto stroke = [&painter](const QColor& color, double width) {
    painter.setPen(QPen(color, width, Qt::SolidLine, Qt::FlatCap));
  };
  stroke(white, 6);
  painter.drawLine(QLineF(0, 0, 60, 30));
  painter.drawLine(QLineF(0, 30, 60, 0));
  stroke(red, 2);
  painter.drawLine(QLineF(0, 0, 60, 30));
  painter.drawLine(QLineF(0, 30, 60, 0));
  stroke(white, 10);
  painter.drawLine(QLineF(30, 0, 30, 30));
  painter.drawLine(QLineF(0, 15, 60, 15));
  stroke(red, 6);
  painter.drawLine(QLineF(30, 0, 30, 30));
  painter.drawLine(QLineF(0, 15, 60, 15));
  painter.resetTransform();
  painter.setClipping(false);
  painter.setRenderHint(QPainter::Antialiasing, false);
  Outline(painter);
  return flag;
}

QPixmap OptionsLogo() {
  QPixmap logo(64, 64);
  logo.fill(Qt::transparent);
  QPainter painter(&logo);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.translate(0, 6);  // the mark is wider than tall: centred on the height
  const QColor navy = Navy();
  const QPointF core(26, 26);
  // The paper runs off the bottom of the roll to the right, with a few printed lines on it.
  painter.setPen(Qt::NoPen);
  painter.setBrush(navy);
  painter.drawRoundedRect(QRectF(26, 36, 36, 12), 2, 2);
  painter.setPen(QPen(Qt::white, 1.5));
  for (double x : {36.0, 44.0, 52.0}) painter.drawLine(QLineF(x, 40, x + 6, 40));
  painter.drawLine(QLineF(34, 44, 58, 44));
  // The roll: a navy disc with white winding rings and a white core.
  painter.setPen(Qt::NoPen);
  painter.setBrush(navy);
  painter.drawEllipse(core, 22, 22);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(Qt::white, 1.5));
  painter.drawEllipse(core, 18, 18);
  painter.setPen(Qt::NoPen);
  painter.setBrush(Qt::white);
  painter.drawEllipse(core, 12, 12);
  // The plus sign in the core.
  painter.setBrush(navy);
  painter.drawRect(QRectF(core.x() - 8, core.y() - 2, 16, 4));
  painter.drawRect(QRectF(core.x() - 2, core.y() - 8, 4, 16));
  return logo;
}

THeadingLabel::THeadingLabel(QWidget* parent) : QLabel(parent) {
  // Only the weight is set, so family and size still come from the window.
  QFont bold;
  bold.setBold(true);
  setFont(bold);
}

void THeadingLabel::paintEvent(QPaintEvent* /*event*/) {
  // The caption's own spaces keep the line off its letters; only the gap stays unlined.
  constexpr int kIndent = 6;
  QPainter painter(this);
  const QColor navy = Navy();
  const int text_width = fontMetrics().horizontalAdvance(text());
  const int line_top = height() / 2 - 1;
  painter.fillRect(0, line_top, kIndent, 2, navy);
  painter.fillRect(kIndent + text_width, line_top, width() - kIndent - text_width, 2, navy);
  painter.setPen(navy);
  painter.drawText(QRect(kIndent, 0, text_width, height()), Qt::AlignLeft | Qt::AlignVCenter,
                   text());
}

}  // namespace numvex
