#include "app/editor_font.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace numvex {

QFont ScintillaFont(const QFont& font, const QWidget* widget) {
  if (font.pointSizeF() > 0 || font.pixelSize() <= 0) return font;
  double dpi = 96;
  if (widget) {
    dpi = widget->logicalDpiY();
  } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    dpi = screen->logicalDotsPerInchY();
  }
  QFont points = font;
  points.setPointSizeF(font.pixelSize() * 72.0 / dpi);
  return points;
}

}  // namespace numvex
