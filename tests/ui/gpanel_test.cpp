#include "ui/gpanel.h"

#include <gtest/gtest.h>

#include <QFrame>
#include <QImage>
#include <QTest>
#include <QVariant>
#include <climits>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "color/color.h"

namespace numvex {
namespace {

QImage Render(QWidget& widget) {
  QImage image(widget.size(), QImage::Format_RGB32);
  image.fill(Qt::magenta);
  widget.render(&image);
  return image;
}

QColor Pixel(const QImage& image, int x, int y) { return image.pixelColor(x, y); }

// Empty when both images are the same, else where they first differ.
std::string Difference(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return "sizes differ";
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      if (a.pixel(x, y) != b.pixel(x, y)) {
        return "first difference at " + std::to_string(x) + "," + std::to_string(y) + ": " +
               a.pixelColor(x, y).name().toStdString() + " vs " +
               b.pixelColor(x, y).name().toStdString();
      }
    }
  }
  return "";
}

const QColor kNavyPixel(0, 0, 128);
const QColor kRedPixel(255, 0, 0);

// --- Properties -------------------------------------------------------------------------------

TEST(TGPanelTest, PublishedPropertiesStartAtTheirDefaults) {
  TGPanel panel;
  const std::vector<std::pair<const char*, QVariant>> defaults = {
      {"Active", true},
      {"Color_1", QVariant::fromValue<quint32>(clBtnFace)},
      {"Color_2", QVariant::fromValue<quint32>(clWhite)},
      {"Color_3", QVariant::fromValue<quint32>(MakeColor(0, 255, 255))},
      {"Horizontal", true},
      {"Percent", 100},
  };
  for (const auto& [name, expected] : defaults) {
    const QVariant value = panel.property(name);
    ASSERT_TRUE(value.isValid()) << name << " is not a property";
    EXPECT_EQ(value, expected) << name;
  }
}

TEST(TGPanelTest, StartsAsARaisedOnePixelPanel) {
  TGPanel panel;
  EXPECT_EQ(panel.frameShape(), QFrame::Panel);
  EXPECT_EQ(panel.frameShadow(), QFrame::Raised);
  EXPECT_EQ(panel.lineWidth(), 1);
  EXPECT_EQ(panel.frameWidth(), 1);
}

TEST(TGPanelTest, PropertiesReadBackWhatWasSet) {
  TGPanel panel;
  panel.SetActive(false);
  panel.SetColor_1(clNavy);
  panel.SetColor_2(MakeColor(1, 2, 3));
  panel.SetColor_3(clNone);
  panel.SetHorizontal(false);
  panel.SetPercent(42);
  EXPECT_FALSE(panel.Active());
  EXPECT_EQ(panel.Color_1(), clNavy);
  EXPECT_EQ(panel.Color_2(), MakeColor(1, 2, 3));
  EXPECT_EQ(panel.Color_3(), clNone);
  EXPECT_FALSE(panel.Horizontal());
  EXPECT_EQ(panel.Percent(), 42);
}

struct PercentCase {
  int set;
  int read;
};

class PercentClampTest : public ::testing::TestWithParam<PercentCase> {};

TEST_P(PercentClampTest, ThroughSetter) {
  TGPanel panel;
  panel.SetPercent(GetParam().set);
  EXPECT_EQ(panel.Percent(), GetParam().read);
}

TEST_P(PercentClampTest, ThroughProperty) {
  TGPanel panel;
  panel.SetPercent(50);
  ASSERT_TRUE(panel.setProperty("Percent", GetParam().set));
  EXPECT_EQ(panel.property("Percent").toInt(), GetParam().read);
}

INSTANTIATE_TEST_SUITE_P(Values, PercentClampTest,
                         ::testing::Values(PercentCase{INT_MIN, 1}, PercentCase{-5, 1},
                                           PercentCase{0, 1}, PercentCase{1, 1},
                                           PercentCase{50, 50}, PercentCase{99, 99},
                                           PercentCase{100, 100}, PercentCase{101, 100},
                                           PercentCase{150, 100}, PercentCase{INT_MAX, 100}));

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
  ASSERT_TRUE(QTest::qWaitFor([&] { return counter.paints > 0; }, 2000));

  const std::vector<std::pair<std::string, std::function<void()>>> setters = {
      {"Active", [&] { panel.SetActive(panel.Active()); }},
      {"Color_1", [&] { panel.SetColor_1(panel.Color_1()); }},
      {"Color_2", [&] { panel.SetColor_2(panel.Color_2()); }},
      {"Color_3", [&] { panel.SetColor_3(panel.Color_3()); }},
      {"Horizontal", [&] { panel.SetHorizontal(panel.Horizontal()); }},
      {"Percent", [&] { panel.SetPercent(panel.Percent()); }},
      {"Percent clamped", [&] { panel.SetPercent(500); }},
  };
  for (const auto& [name, set] : setters) {
    QTest::qWait(20);  // let any pending paint pass first
    const int before = counter.paints;
    set();
    EXPECT_TRUE(QTest::qWaitFor([&] { return counter.paints > before; }, 2000)) << name;
  }
}

// --- Frame settings shared by the rendering tests ---------------------------------------------

struct FrameCase {
  std::string name;
  int shape;
  int shadow;
  int line_width;
  int mid_line_width;
  int border;  // pixels the gradient keeps off on every side
};

void PrintTo(const FrameCase& c, std::ostream* os) { *os << c.name; }

void ApplyFrame(QFrame& frame, const FrameCase& c) {
  frame.setFrameStyle(c.shape | c.shadow);
  frame.setLineWidth(c.line_width);
  frame.setMidLineWidth(c.mid_line_width);
}

// The panel a TGPanel must look like when it paints no gradient.
QImage RenderPlain(const FrameCase& c, QSize size, const QPalette& palette = QPalette()) {
  QFrame plain;
  plain.setAutoFillBackground(true);
  plain.setPalette(palette);
  ApplyFrame(plain, c);
  plain.resize(size);
  return Render(plain);
}

bool InBorder(int x, int y, QSize size, int border) {
  return x < border || y < border || x >= size.width() - border || y >= size.height() - border;
}

const std::vector<FrameCase> kFrames = {
    {"RaisedPanel", QFrame::Panel, QFrame::Raised, 1, 0, 1},
    {"SunkenPanel3", QFrame::Panel, QFrame::Sunken, 3, 0, 3},
    {"WinPanel", QFrame::WinPanel, QFrame::Raised, 1, 0, 2},
    {"RaisedBoxWithMidLine", QFrame::Box, QFrame::Raised, 1, 1, 3},
    {"SunkenBox2", QFrame::Box, QFrame::Sunken, 2, 0, 4},
    {"FlatPanel2", QFrame::Panel, QFrame::Plain, 2, 0, 2},
    {"NoFrame", QFrame::NoFrame, QFrame::Plain, 1, 0, 0},
};

class TGPanelFrameTest : public ::testing::TestWithParam<FrameCase> {};

TEST_P(TGPanelFrameTest, GradientStartsInsideTheFrameAndLeavesItAlone) {
  const FrameCase& c = GetParam();
  const QSize size(120, 40);
  TGPanel panel;
  ApplyFrame(panel, c);
  panel.SetColor_1(MakeColor(255, 0, 0));
  panel.SetColor_2(MakeColor(0, 0, 255));
  panel.resize(size);
  ASSERT_EQ(panel.frameWidth(), c.border);

  const QImage image = Render(panel);
  const QImage plain = RenderPlain(c, size);
  for (int y = 0; y < size.height(); ++y) {
    for (int x = 0; x < size.width(); ++x) {
      if (InBorder(x, y, size, c.border)) {
        ASSERT_EQ(Pixel(image, x, y), Pixel(plain, x, y)) << "frame pixel " << x << "," << y;
      }
    }
  }
  // First column of the interior, top to bottom, carries the start colour.
  EXPECT_EQ(Pixel(image, c.border, c.border), kRedPixel);
  EXPECT_EQ(Pixel(image, c.border, size.height() - 1 - c.border), kRedPixel);
  // The last column has come most of the way to blue.
  const QColor last = Pixel(image, size.width() - 1 - c.border, c.border);
  EXPECT_LE(last.red(), 8);
  EXPECT_GE(last.blue(), 247);
}

TEST_P(TGPanelFrameTest, InactiveLooksExactlyLikeAPlainPanel) {
  const FrameCase& c = GetParam();
  const QSize size(90, 50);
  TGPanel panel;
  ApplyFrame(panel, c);
  panel.SetColor_1(clNavy);
  panel.SetColor_2(clWhite);
  panel.SetColor_3(clAqua);
  panel.SetPercent(50);
  panel.resize(size);
  const QImage plain = RenderPlain(c, size);

  panel.SetActive(false);
  EXPECT_EQ(Difference(Render(panel), plain), "");
  // Switched back on, the gradient shows again: the comparison above can tell them apart.
  panel.SetActive(true);
  EXPECT_NE(Difference(Render(panel), plain), "");
}

INSTANTIATE_TEST_SUITE_P(Frames, TGPanelFrameTest, ::testing::ValuesIn(kFrames),
                         [](const ::testing::TestParamInfo<FrameCase>& info) {
                           return info.param.name;
                         });

// --- What the interior shows ------------------------------------------------------------------

TEST(TGPanelRenderTest, EqualColoursGiveOneSolidInteriorAtAnyPercent) {
  const QSize size(80, 60);
  const QImage plain = RenderPlain(kFrames[0], size);
  for (bool horizontal : {true, false}) {
    for (int percent : {1, 37, 50, 99, 100}) {
      SCOPED_TRACE("percent " + std::to_string(percent));
      TGPanel panel;
      panel.SetColor_1(clNavy);
      panel.SetColor_2(clNavy);
      panel.SetColor_3(clNavy);
      panel.SetHorizontal(horizontal);
      panel.SetPercent(percent);
      panel.resize(size);
      const QImage image = Render(panel);
      for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
          ASSERT_EQ(Pixel(image, x, y), InBorder(x, y, size, 1) ? Pixel(plain, x, y) : kNavyPixel)
              << x << "," << y;
        }
      }
    }
  }
}

TEST(TGPanelRenderTest, HalfGradientHalfSolidInEitherDirection) {
  for (bool horizontal : {true, false}) {
    SCOPED_TRACE(horizontal ? "horizontal" : "vertical");
    // Interior 200 along the gradient, 50 across it.
    const QSize size = horizontal ? QSize(202, 52) : QSize(52, 202);
    TGPanel panel;
    panel.SetColor_1(clBlack);
    panel.SetColor_2(clWhite);
    panel.SetColor_3(clWhite);
    panel.SetHorizontal(horizontal);
    panel.SetPercent(50);
    panel.resize(size);
    const QImage image = Render(panel);
    auto at = [&](int along, int across) {
      return horizontal ? Pixel(image, along, across) : Pixel(image, across, along);
    };

    int previous = -1;
    for (int along = 1; along <= 200; ++along) {
      const QColor head = at(along, 1);
      for (int across = 1; across <= 50; ++across) {
        ASSERT_EQ(at(along, across), head) << along << "," << across;
      }
      ASSERT_EQ(head.red(), head.blue());
      ASSERT_GE(head.red(), previous) << along;
      previous = head.red();
      if (along > 100) {
        ASSERT_EQ(head, QColor(Qt::white)) << along;
      }
    }
    EXPECT_EQ(at(1, 1), QColor(Qt::black));
    EXPECT_LT(at(100, 1).red(), 255);
    EXPECT_GT(at(100, 1).red(), 240);
  }
}

TEST(TGPanelRenderTest, SystemColoursFollowThePalette) {
  QPalette palette;
  palette.setColor(QPalette::Button, QColor(0x12, 0x34, 0x56));
  palette.setColor(QPalette::Window, QColor(0xfe, 0xdc, 0xba));
  TGPanel panel;
  panel.setPalette(palette);
  panel.SetColor_2(clBtnFace);  // default Color_1 is clBtnFace too: one solid band
  panel.resize(30, 20);
  const QImage image = Render(panel);
  EXPECT_EQ(Pixel(image, 1, 1), QColor(0x12, 0x34, 0x56));
  EXPECT_EQ(Pixel(image, 28, 18), QColor(0x12, 0x34, 0x56));
}

TEST(TGPanelRenderTest, TooSmallForItsBevelsPaintsOnlyThePanel) {
  for (const QSize size : {QSize(1, 1), QSize(2, 2), QSize(2, 40), QSize(40, 2)}) {
    for (int percent : {1, 50, 100}) {
      for (bool horizontal : {true, false}) {
        SCOPED_TRACE(std::to_string(size.width()) + "x" + std::to_string(size.height()) +
                     " percent " + std::to_string(percent));
        TGPanel panel;
        panel.SetColor_1(clNavy);
        panel.SetColor_2(clNavy);
        panel.SetColor_3(clNavy);
        panel.SetPercent(percent);
        panel.SetHorizontal(horizontal);
        panel.resize(size);
        ASSERT_EQ(panel.size(), size);
        EXPECT_EQ(Difference(Render(panel), RenderPlain(kFrames[0], size)), "");
      }
    }
  }
}

TEST(TGPanelRenderTest, OnePixelInteriorIsPainted) {
  TGPanel panel;
  panel.SetColor_1(clNavy);
  panel.SetColor_2(clWhite);
  panel.SetPercent(50);
  panel.resize(3, 3);
  EXPECT_EQ(Pixel(Render(panel), 1, 1), kNavyPixel);
}

}  // namespace
}  // namespace numvex
