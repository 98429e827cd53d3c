#pragma once

#include <QFrame>

#include "color/color.h"
#include "ui/gradient_stripes.h"

namespace numvex {

// A panel whose interior shows a colour gradient in one or two bands: Color_1 to Color_2 and,
// when Percent is below 100, on from Color_2 to Color_3. Otherwise an ordinary QFrame: frame,
// children and events behave as on any panel. The main window uses it with three equal colours
// for its solid shadow areas.
class TGPanel : public QFrame {
  Q_OBJECT
  Q_PROPERTY(bool Active READ Active WRITE SetActive)
  Q_PROPERTY(quint32 Color_1 READ Color_1 WRITE SetColor_1)
  Q_PROPERTY(quint32 Color_2 READ Color_2 WRITE SetColor_2)
  Q_PROPERTY(quint32 Color_3 READ Color_3 WRITE SetColor_3)
  Q_PROPERTY(bool Horizontal READ Horizontal WRITE SetHorizontal)
  Q_PROPERTY(int Percent READ Percent WRITE SetPercent)

 public:
  explicit TGPanel(QWidget* parent = nullptr);

  // Every setter repaints, even when the value stays the same.
  bool Active() const { return active_; }
  void SetActive(bool active);
  TColor Color_1() const { return color_1_; }
  void SetColor_1(TColor color);
  TColor Color_2() const { return color_2_; }
  void SetColor_2(TColor color);
  TColor Color_3() const { return color_3_; }
  void SetColor_3(TColor color);
  bool Horizontal() const { return horizontal_; }
  void SetHorizontal(bool horizontal);
  // 1 to 100; values below 1 become 1, values above 99 become 100 (a single band).
  int Percent() const { return percent_; }
  void SetPercent(int percent);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Rgb Resolve(TColor color) const;

  bool active_ = true;
  TColor color_1_ = clBtnFace;
  TColor color_2_ = clWhite;
  TColor color_3_ = clAqua;
  bool horizontal_ = true;
  int percent_ = kSingleBandPercent;
};

}  // namespace numvex
