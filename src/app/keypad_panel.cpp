#include "app/keypad_panel.h"

#include <QFont>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>

#include "ui/gpanel.h"

namespace numvex {

namespace {

struct KeySpec {
  const char* name;
  const char* caption;  // UTF-8
  char key;             // what keyPressed reports; the decimal key reports the separator
  int row, column;      // 1-based grid place
  int rows, columns;    // span
};

constexpr char kDecimalKey = '.';

// A numeric keypad: four columns, five rows.
constexpr KeySpec kKeys[] = {
    {"cmdClear", "C", KeypadPanel::kClearKey, 1, 1, 1, 1},
    {"cmdDiv", "\xc3\xb7", '/', 1, 2, 1, 1},
    {"cmdMul", "x", '*', 1, 3, 1, 1},
    {"cmdMinus", "-", '-', 1, 4, 1, 1},
    {"cmd7", "7", '7', 2, 1, 1, 1},
    {"cmd8", "8", '8', 2, 2, 1, 1},
    {"cmd9", "9", '9', 2, 3, 1, 1},
    {"cmdPlus", "+", '+', 2, 4, 2, 1},
    {"cmd4", "4", '4', 3, 1, 1, 1},
    {"cmd5", "5", '5', 3, 2, 1, 1},
    {"cmd6", "6", '6', 3, 3, 1, 1},
    {"cmd1", "1", '1', 4, 1, 1, 1},
    {"cmd2", "2", '2', 4, 2, 1, 1},
    {"cmd3", "3", '3', 4, 3, 1, 1},
    {"cmdCalc", "=", KeypadPanel::kTotalKey, 4, 4, 2, 1},
    {"cmd0", "0", '0', 5, 1, 1, 2},
    {"cmdComma", ".", kDecimalKey, 5, 3, 1, 1},
};

constexpr int kKeyLeft = 4;
constexpr int kKeyTop = 6;
constexpr int kKeySize = 38;
constexpr int kKeyStep = 40;

QPixmap ProductImage(int width, int height) {
  QPixmap pixmap(width, height);
  QPainter painter(&pixmap);
  QLinearGradient gradient(0, 0, width, height);
  gradient.setColorAt(0, QColor(0, 0, 128));
  gradient.setColorAt(1, QColor(70, 110, 200));
  painter.fillRect(pixmap.rect(), gradient);
  painter.setPen(QColor(255, 255, 255, 60));
  QFont digits("Liberation Mono");
  digits.setPixelSize(11);
  painter.setFont(digits);
  for (int y = 12; y < height; y += 13) {
    painter.drawText(6, y, QStringLiteral("+ 1,234.50  = 57.00"));
  }
  painter.setPen(Qt::white);
  QFont title("Arial");
  title.setPixelSize(24);
  title.setBold(true);
  painter.setFont(title);
  painter.drawText(pixmap.rect(), Qt::AlignCenter, QStringLiteral("Numvex"));
  return pixmap;
}

}  // namespace

KeypadPanel::KeypadPanel(QWidget* parent) : QFrame(parent) {
  setObjectName("pnlCommand");
  setFixedWidth(kWidth);
  shadow_ = new TGPanel(this);
  shadow_->setObjectName("pnlCmdShadow");
  shadow_->setFrameShape(QFrame::NoFrame);
  shadow_->SetColor_1(clNavy);
  shadow_->SetColor_2(clNavy);
  shadow_->SetColor_3(clNavy);
  cmd_ = new QFrame(this);
  cmd_->setObjectName("pnlCmd");
  cmd_->setFrameShape(QFrame::Panel);
  cmd_->setFrameShadow(QFrame::Raised);
  cmd_->setAutoFillBackground(true);
  QFont key_font("Arial");
  key_font.setPixelSize(16);
  key_font.setBold(true);
  for (const KeySpec& place : kKeys) {
    auto* key = new QToolButton(cmd_);
    key->setObjectName(place.name);
    key->setText(QString::fromUtf8(place.caption));
    key->setFont(key_font);
    // Keys never take the focus: the editor keeps it while the keypad is used.
    key->setFocusPolicy(Qt::NoFocus);
    key->setGeometry(kKeyLeft + (place.column - 1) * kKeyStep, kKeyTop + (place.row - 1) * kKeyStep,
                     kKeySize + (place.columns - 1) * kKeyStep,
                     kKeySize + (place.rows - 1) * kKeyStep);
    const char pressed = place.key;
    connect(key, &QToolButton::clicked, this,
            [this, pressed] { emit keyPressed(pressed == kDecimalKey ? decimal_ : pressed); });
  }
  image_ = new QLabel(cmd_);
  image_->setObjectName("pnlImage");
  image_->setPixmap(ProductImage(157, kImageHeight));
  image_->setFixedSize(157, kImageHeight);
  Arrange();
}

QToolButton* KeypadPanel::Key(const char* name) const {
  return cmd_->findChild<QToolButton*>(name);
}

void KeypadPanel::SetDecimalSeparator(char decimal) {
  decimal_ = decimal;
  Key("cmdComma")->setText(QString(QChar::fromLatin1(decimal)));
}

void KeypadPanel::Arrange() {
  int cmd_height = height() - 12;
  cmd_->setGeometry(4, 3, 165, cmd_height);
  shadow_->setGeometry(10, 12, 166, cmd_height - 2);
  shadow_->lower();
  image_->move(4, cmd_height - kImageHeight - 4);
  image_->setVisible(height() - kImageHeight - 10 > kKeysBottom);
}

}  // namespace numvex
