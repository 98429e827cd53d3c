#include "ui/gpanel.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QTest>
#include <utility>
#include <vector>

#include "common/case_name.h"

namespace numvex {
namespace {

struct FrameCase {
  const char* name;
  int style;  // -1: the panel's own frame, a raised 1-pixel panel
  int line_width;
  int mid_line_width;
  int border;  // pixels the gradient keeps off on every side
};

// `frame` at `size`, in the case's style if given one, drawn over magenta.
QImage Render(QFrame& frame, QSize size, const FrameCase* c) {
  if (c != nullptr && c->style >= 0) {
    frame.setFrameStyle(c->style);
    frame.setLineWidth(c->line_width);
    frame.setMidLineWidth(c->mid_line_width);
  }
  frame.resize(size);
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::magenta);
  frame.render(&image);
  return image;
}

// A panel with Color_1 and on, switched off when given no colours.
QImage RenderPanel(QSize size, std::vector<TColor> colors, int percent = 100,
                   bool horizontal = true, const FrameCase* c = nullptr,
                   const QPalette* palette = nullptr) {
  TGPanel panel;
  if (palette != nullptr) panel.setPalette(*palette);
  panel.SetActive(!colors.empty());
  colors.resize(3, clAqua);
  panel.SetColor_1(colors[0]);
  panel.SetColor_2(colors[1]);
  panel.SetColor_3(colors[2]);
  panel.SetPercent(percent);
  panel.SetHorizontal(horizontal);
  return Render(panel, size, c);
}

class TGPanelFrameTest : public ::testing::TestWithParam<FrameCase> {};

// Switched off the panel is an ordinary opaque frame; switched on, the gradient fills the inside.
TEST_P(TGPanelFrameTest, GradientFillsTheInsideAndLeavesTheFrameAlone) {
  const FrameCase& c = GetParam();
  const QSize size(120, 40);
  QFrame plain;
  plain.setAutoFillBackground(true);
  plain.setFrameStyle(QFrame::Panel | QFrame::Raised);
  const QImage frame = Render(plain, size, &c);
  EXPECT_TRUE(RenderPanel(size, {}, 100, true, &c) == frame);
  QImage image = RenderPanel(size, {MakeColor(255, 0, 0), MakeColor(0, 0, 255)}, 100, true, &c);
  const QRect inside = QRect(QPoint(0, 0), size).adjusted(c.border, c.border, -c.border, -c.border);
  EXPECT_EQ(image.pixelColor(inside.topLeft()), QColor(255, 0, 0));
  EXPECT_EQ(image.pixelColor(inside.bottomLeft()), QColor(255, 0, 0));
  const QColor last = image.pixelColor(inside.topRight());
  EXPECT_TRUE(last.red() <= 8 && last.blue() >= 247) << last.name().toStdString();
  QPainter(&image).drawImage(inside.topLeft(), frame.copy(inside));
  EXPECT_TRUE(image == frame);  // around the inside
}

INSTANTIATE_TEST_SUITE_P(
    Frames, TGPanelFrameTest,
    ::testing::Values(FrameCase{"OwnFrame", -1, 0, 0, 1},
                      FrameCase{"SunkenPanel3", QFrame::Panel | QFrame::Sunken, 3, 0, 3},
                      FrameCase{"WinPanel", QFrame::WinPanel | QFrame::Raised, 1, 0, 2},
                      FrameCase{"BoxWithMidLine", QFrame::Box | QFrame::Raised, 1, 1, 3},
                      FrameCase{"NoFrame", QFrame::NoFrame, 1, 0, 0}),
    testing::NameBy<&FrameCase::name>());

// Percent out of range is clamped: 0 paints like 1, 150 like 100 (one band, Color_3 unused).
TEST(TGPanelTest, PercentOutOfRangePaintsLikeItsLimit) {
  auto render = [](int p) { return RenderPanel({300, 50}, {clBlack, clWhite, clRed}, p); };
  EXPECT_TRUE(render(0) == render(1) && render(-5) == render(1));
  EXPECT_TRUE(render(150) == render(100) && render(100) != render(99));
  const QColor end = render(1).pixelColor(298, 48);  // within rounding of red
  EXPECT_TRUE(end.red() >= 250 && end.green() + end.blue() <= 16) << end.name().toStdString();
}

// A system colour comes from the panel's palette; no colour of its own shows its background.
TEST(TGPanelTest, ColoursResolveThroughThePalette) {
  QPalette palette;
  palette.setColor(QPalette::Button, QColor(0x12, 0x34, 0x56));
  palette.setColor(QPalette::Window, QColor(0xFE, 0xDC, 0xBA));
  for (const auto& [color, expected] :
       {std::pair{clBtnFace, QColor(0x12, 0x34, 0x56)}, {clNone, QColor(0xFE, 0xDC, 0xBA)}}) {
    const QImage image = RenderPanel({30, 20}, {color, color}, 100, true, nullptr, &palette);
    EXPECT_TRUE(image.pixelColor(1, 1) == expected && image.pixelColor(28, 18) == expected);
  }
}

}  // namespace
}  // namespace numvex
