#include "ui/gpanel.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QTest>
#include <functional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace numvex {
namespace {

QImage Render(QWidget& widget) {
  QImage image(widget.size(), QImage::Format_RGB32);
  image.fill(Qt::magenta);
  widget.render(&image);
  return image;
}

struct FrameCase {
  const char* name;
  int style;
  int line_width;
  int mid_line_width;
  int border;  // pixels the gradient keeps off on every side
};
void PrintTo(const FrameCase& c, std::ostream* os) { *os << c.name; }

void ApplyFrame(QFrame& frame, const FrameCase& c) {
  frame.setFrameStyle(c.style);
  frame.setLineWidth(c.line_width);
  frame.setMidLineWidth(c.mid_line_width);
}

// What the panel must look like where it paints no gradient: an ordinary opaque frame.
QImage RenderPlain(const FrameCase& c, QSize size) {
  QFrame plain;
  plain.setAutoFillBackground(true);
  ApplyFrame(plain, c);
  plain.resize(size);
  return Render(plain);
}

const FrameCase kRaisedPanel = {"RaisedPanel", QFrame::Panel | QFrame::Raised, 1, 0, 1};

class TGPanelFrameTest : public ::testing::TestWithParam<FrameCase> {};

TEST_P(TGPanelFrameTest, GradientFillsTheInsideAndLeavesTheFrameAlone) {
  const FrameCase& c = GetParam();
  const QSize size(120, 40);
  TGPanel panel;
  ApplyFrame(panel, c);
  panel.SetColor_1(MakeColor(255, 0, 0));
  panel.SetColor_2(MakeColor(0, 0, 255));
  panel.resize(size);
  const QImage image = Render(panel);
  const QImage plain = RenderPlain(c, size);
  const QRect inside = QRect(QPoint(0, 0), size).adjusted(c.border, c.border, -c.border, -c.border);
  for (int y = 0; y < size.height(); ++y) {
    for (int x = 0; x < size.width(); ++x) {
      if (!inside.contains(x, y)) {
        ASSERT_EQ(image.pixel(x, y), plain.pixel(x, y)) << x << "," << y;
      }
    }
  }
  EXPECT_EQ(image.pixelColor(inside.topLeft()), QColor(255, 0, 0));
  EXPECT_EQ(image.pixelColor(inside.bottomLeft()), QColor(255, 0, 0));
  const QColor last = image.pixelColor(inside.topRight());
  EXPECT_LE(last.red(), 8);
  EXPECT_GE(last.blue(), 247);

  // Switched off it is exactly the plain panel.
  panel.SetActive(false);
  EXPECT_TRUE(Render(panel) == plain);
}

INSTANTIATE_TEST_SUITE_P(
    Frames, TGPanelFrameTest,
    ::testing::Values(kRaisedPanel,
                      FrameCase{"SunkenPanel3", QFrame::Panel | QFrame::Sunken, 3, 0, 3},
                      FrameCase{"WinPanel", QFrame::WinPanel | QFrame::Raised, 1, 0, 2},
                      FrameCase{"BoxWithMidLine", QFrame::Box | QFrame::Raised, 1, 1, 3},
                      FrameCase{"NoFrame", QFrame::NoFrame, 1, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// Percent out of range is clamped: 0 paints like 1, 150 like 100 (one band, Color_3 unused).
TEST(TGPanelTest, PercentOutOfRangePaintsLikeItsLimit) {
  auto render = [](int percent, bool horizontal) {
    TGPanel panel;
    panel.SetColor_1(clBlack);
    panel.SetColor_2(clWhite);
    panel.SetColor_3(clRed);
    panel.SetHorizontal(horizontal);
    panel.SetPercent(percent);
    panel.resize(300, 50);
    return Render(panel);
  };
  for (bool horizontal : {true, false}) {
    EXPECT_TRUE(render(0, horizontal) == render(1, horizontal));
    EXPECT_TRUE(render(-5, horizontal) == render(1, horizontal));
    EXPECT_TRUE(render(150, horizontal) == render(100, horizontal));
    EXPECT_TRUE(render(100, horizontal) != render(99, horizontal));
    EXPECT_EQ(render(1, horizontal).pixelColor(1, 1), QColor(Qt::black));
    const QColor end = render(1, horizontal).pixelColor(298, 48);  // within rounding of red
    EXPECT_GE(end.red(), 250);
    EXPECT_LE(end.green() + end.blue(), 16);
  }
}

// A system colour comes from the panel's palette; no colour of its own shows its background.
TEST(TGPanelTest, ColoursResolveThroughThePalette) {
  QPalette palette;
  palette.setColor(QPalette::Button, QColor(0x12, 0x34, 0x56));
  palette.setColor(QPalette::Window, QColor(0xFE, 0xDC, 0xBA));
  for (const auto& [color, expected] :
       {std::pair{clBtnFace, QColor(0x12, 0x34, 0x56)}, {clNone, QColor(0xFE, 0xDC, 0xBA)}}) {
    TGPanel panel;
    panel.setPalette(palette);
    panel.SetColor_1(color);
    panel.SetColor_2(color);
    panel.resize(30, 20);
    const QImage image = Render(panel);
    EXPECT_EQ(image.pixelColor(1, 1), expected);
    EXPECT_EQ(image.pixelColor(28, 18), expected);
  }
}

TEST(TGPanelTest, TooSmallForItsBevelsPaintsOnlyThePanel) {
  for (const QSize size : {QSize(2, 2), QSize(2, 40), QSize(40, 2)}) {
    for (int percent : {1, 50, 100}) {
      TGPanel panel;
      panel.SetColor_1(clNavy);
      panel.SetPercent(percent);
      panel.resize(size);
      EXPECT_TRUE(Render(panel) == RenderPlain(kRaisedPanel, size)) << percent;
    }
  }
  TGPanel one;
  one.SetColor_1(clNavy);
  one.resize(3, 3);
  EXPECT_EQ(Render(one).pixelColor(1, 1), QColor(0, 0, 128));  // a one-pixel inside is painted
}

class PaintCounter : public QObject {
 public:
  int paints = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

TEST(TGPanelTest, EverySetterRepaintsEvenWithTheSameValue) {
  TGPanel panel;
  panel.resize(60, 40);
  PaintCounter counter;
  panel.installEventFilter(&counter);
  panel.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
  const std::vector<std::function<void()>> setters = {
      [&] { panel.SetActive(panel.Active()); },         [&] { panel.SetColor_1(panel.Color_1()); },
      [&] { panel.SetColor_2(panel.Color_2()); },       [&] { panel.SetColor_3(panel.Color_3()); },
      [&] { panel.SetHorizontal(panel.Horizontal()); }, [&] { panel.SetPercent(500); }};
  for (size_t i = 0; i < setters.size(); ++i) {
    QTest::qWait(20);  // let any pending paint pass first
    const int before = counter.paints;
    setters[i]();
    EXPECT_TRUE(QTest::qWaitFor([&] { return counter.paints > before; }, 2000)) << i;
  }
}

}  // namespace
}  // namespace numvex
