#include "ui/gpanel.h"

#include <QPainter>

#include "ui/qt_color.h"

namespace numvex {

TGPanel::TGPanel(QWidget* parent) : QFrame(parent) {
  // A panel is opaque and, unless told otherwise, has a raised 1-pixel bevel.
  setAutoFillBackground(true);
  setFrameStyle(QFrame::Panel | QFrame::Raised);
  setLineWidth(1);
}

void TGPanel::SetActive(bool active) {
  active_ = active;
  update();
}

void TGPanel::SetColor_1(TColor color) {
  color_1_ = color;
  update();
}

void TGPanel::SetColor_2(TColor color) {
  color_2_ = color;
  update();
}

void TGPanel::SetColor_3(TColor color) {
  color_3_ = color;
  update();
}

void TGPanel::SetHorizontal(bool horizontal) {
  horizontal_ = horizontal;
  update();
}

void TGPanel::SetPercent(int percent) {
  if (percent < 1) {
    percent = 1;
  } else if (percent > 99) {
    percent = kSingleBandPercent;
  }
  percent_ = percent;
  update();
}

Rgb TGPanel::Resolve(TColor color) const {
  QColor resolved = ToQColor(color, palette());
  // "No colour of its own" shows the panel's background.
  if (!resolved.isValid()) resolved = palette().color(backgroundRole());
  return {static_cast<std::uint8_t>(resolved.red()), static_cast<std::uint8_t>(resolved.green()),
          static_cast<std::uint8_t>(resolved.blue())};
}

void TGPanel::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  if (!active_) return;

  // The gradient keeps off the whole frame, so bevels and lines stay as drawn; frameWidth()
  // already counts both bevels of a double frame (WinPanel, Box with a mid line).
  const QRect frame = frameRect();
  GradientRect interior = Interior(frame.width(), frame.height(), frameWidth());
  interior.left += frame.left();
  interior.top += frame.top();

  const GradientColors colors = {Resolve(color_1_), Resolve(color_2_), Resolve(color_3_)};
  QPainter painter(this);
  for (const Fill& fill : PlanGradient(interior, colors, percent_, horizontal_)) {
    painter.fillRect(fill.rect.left, fill.rect.top, fill.rect.width, fill.rect.height,
                     QColor(fill.color.red, fill.color.green, fill.color.blue));
  }
}

}  // namespace numvex
