#pragma once

#include <QLabel>
#include <QPixmap>

namespace numvex {

// Flags of the language list, drawn here so the program ships no picture files; all share
// one size so the list lines up.
QSize FlagSize();
QPixmap GermanFlag();
QPixmap EnglishFlag();

// The 64x64 mark of the preferences window: a navy tape roll whose core holds a plus sign.
QPixmap OptionsLogo();

// A group heading: the bold navy caption sits on a two-pixel navy line across the width.
class THeadingLabel : public QLabel {
 public:
  explicit THeadingLabel(QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace numvex
