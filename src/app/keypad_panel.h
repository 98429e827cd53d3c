#pragma once

#include <QFrame>
#include <QLabel>
class QToolButton;

namespace numvex {

class TGPanel;

// The keypad column on the right of the main window: the panel pnlCmd with the
// calculator keys and the product image, over a navy shadow.
class KeypadPanel : public QFrame {
  Q_OBJECT
 public:
  // What keyPressed reports for the two keys that type no character.
  static constexpr char kTotalKey = '=';
  static constexpr char kClearKey = 'C';

  static constexpr int kWidth = 178;
  static constexpr int kImageHeight = 94;
  // The bottom edge of the keys' area on pnlCmd; the image only shows below it.
  static constexpr int kKeysBottom = 213;

  explicit KeypadPanel(QWidget* parent = nullptr);

  // Lays the column out for its current height.
  void Arrange();
  QToolButton* Key(const char* name) const;
  // The character the decimal key types and shows.
  void SetDecimalSeparator(char decimal);
  QWidget* Cmd() const { return cmd_; }
  QWidget* Image() const { return image_; }

 signals:
  // A key was clicked: the digit, the decimal separator, one of "/", "*", "-", "+", or
  // kTotalKey or kClearKey.
  void keyPressed(char key);

 private:
  QFrame* cmd_;
  TGPanel* shadow_;
  QLabel* image_;
  char decimal_ = '.';
};

}  // namespace numvex
