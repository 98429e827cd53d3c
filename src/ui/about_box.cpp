#include "ui/about_box.h"

#include <QEvent>
#include <QFont>
#include <QFontMetrics>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>
#include <utility>

#include "config/conf.h"
#include "config/lang_texts.h"
#include "platform/launcher.h"
#include "platform/system_info.h"
#include "ui/logo_pictures.h"

namespace numvex {

namespace {

// The layout as designed, in client pixels.
constexpr int kBannerWidth = 306;
constexpr int kMinWidth = kBannerWidth + 8;
constexpr int kHeight = 289;
constexpr int kBannerHeight = 116;
constexpr int kMargin = 8;
constexpr int kProductTop = 126;
constexpr int kProductLogoSize = 32;
constexpr int kNoticeTop = 164;
constexpr int kNoticeHeight = 34;
constexpr int kUrlTop = 202;
constexpr int kMailTop = 220;
constexpr int kBottomHeight = 46;

struct AboutTexts {
  const char* caption;  // followed by the product's name
  const char* close;
  const char* homepage;
  const char* mail;
};

// By AboutLanguage - 1.
constexpr AboutTexts kAboutTexts[] = {
    {"Über ", "Schließen", "Homepage: ", "E-Mail: "},
    {"About ", "Close", "Homepage: ", "E-Mail: "},
    {"À propos ", "Fermer", "Page d'accueil: ", "e-mail: "},
};

QString Text(const std::string& utf8) { return QString::fromStdString(utf8); }

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) ==
                  std::tolower(static_cast<unsigned char>(b));
         });
}

std::string WithoutPrefix(const std::string& text, std::string_view prefix) {
  return StartsWithNoCase(text, prefix) ? text.substr(prefix.size()) : text;
}

QLabel* MakeLabel(const char* name, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  return label;
}

// A label that opens an address: underlined, blue, with the hand cursor.
QLabel* MakeLinkLabel(const char* name, QWidget* parent) {
  QLabel* label = MakeLabel(name, parent);
  QFont font = label->font();
  font.setUnderline(true);
  label->setFont(font);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, QColor(0x00, 0x33, 0x99));
  label->setPalette(palette);
  label->setCursor(Qt::PointingHandCursor);
  return label;
}

// Moves the label to (left, top) at its text's natural size.
void PlaceAt(QLabel* label, int left, int top) {
  label->adjustSize();
  label->move(left, top);
}

int RightOf(const QWidget* widget) { return widget->x() + widget->width(); }

}  // namespace

void DeriveLinkTexts(TProduct& product) {
  // Only one scheme goes: "https://http://x" shows "http://x".
  const std::string url = WithoutPrefix(product.url, "https://");
  product.url_text = url.size() < product.url.size() ? url : WithoutPrefix(url, "http://");
  product.mail_text = WithoutPrefix(product.mail, "mailto:");
  product.mail_text = product.mail_text.substr(0, product.mail_text.find('?'));
}

TProduct MakeProduct() {
  TProduct product;
  product.name = "Numvex";
  product.version = Conf.Version;
  product.build = Conf.Build;
  product.notice = "© 2026 The Numvex developers";
  DeriveLinkTexts(product);
  return product;
}

TfrmAbout::TfrmAbout(QWidget* parent) : QDialog(parent), product_(MakeProduct()) {
  setObjectName("frmAbout");
  setModal(true);
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, Qt::white);
  setPalette(palette);
  setFixedSize(kMinWidth, kHeight);

  imgLogo_ = MakeLabel("imgLogo", this);
  imgLogo_->setCursor(Qt::PointingHandCursor);
  imgLogo_->installEventFilter(this);
  imgProductLogo_ = MakeLabel("imgProductLogo", this);
  imgProductLogo_->setGeometry(kMargin, kProductTop, kProductLogoSize, kProductLogoSize);
  imgProductLogo_->setScaledContents(true);
  imgProductLogo_->setPixmap(DrawProgramMark(kProductLogoSize));

  lblName_ = MakeLabel("lblName", this);
  QFont name_font = lblName_->font();
  name_font.setBold(true);
  name_font.setPointSizeF(name_font.pointSizeF() * 1.5);
  lblName_->setFont(name_font);
  lblVersion_ = MakeLabel("lblVersion", this);
  lblNotice_ = MakeLabel("lblNotice", this);
  lblNotice_->setWordWrap(true);
  lblNotice_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  lblProductURL_ = MakeLabel("lblProductURL", this);
  lblProductURLExecute_ = MakeLinkLabel("lblProductURLExecute", this);
  lblProductMail_ = MakeLabel("lblProductMail", this);
  lblProductMailExecute_ = MakeLinkLabel("lblProductMailExecute", this);
  lblProductURLExecute_->installEventFilter(this);
  lblProductMailExecute_->installEventFilter(this);

  pnlBottom_ = new QWidget(this);
  pnlBottom_->setObjectName("pnlBottom");
  bvlBottom_ = new QFrame(pnlBottom_);
  bvlBottom_->setObjectName("bvlBottom");
  bvlBottom_->setFrameShape(QFrame::HLine);
  bvlBottom_->setFrameShadow(QFrame::Sunken);
  btnClose_ = new QPushButton(pnlBottom_);
  btnClose_->setObjectName("btnClose");
  btnClose_->resize(80, 25);
  connect(btnClose_, &QPushButton::clicked, this, &QDialog::reject);

  SetAboutLanguage(0);
}

void TfrmAbout::SetProductLogo(const QPixmap& logo) { imgProductLogo_->setPixmap(logo); }

void TfrmAbout::SetAboutLanguage(int n) {
  about_language_ = n >= 1 && n <= 3 ? n : DetectAboutLanguage(UserDefaultLangId());
}

int TfrmAbout::DetectAboutLanguage(int lang_id) {
  // The German locales get the German texts, every other one the English.
  return DetectLanguage(static_cast<uint16_t>(lang_id)) == 0 ? 1 : 2;
}

void TfrmAbout::ApplyTexts() {
  const AboutTexts& texts = kAboutTexts[about_language_ - 1];
  setWindowTitle(QString::fromUtf8(texts.caption) + Text(product_.name));
  btnClose_->setText(QString::fromUtf8(texts.close));
  lblProductURL_->setText(QString::fromUtf8(texts.homepage));
  lblProductMail_->setText(QString::fromUtf8(texts.mail));
  lblName_->setText(Text(product_.name));
  lblVersion_->setText(Text(product_.version));
  lblVersion_->setToolTip(Text(product_.build));
  lblNotice_->setText(Text(product_.notice));
  lblProductURLExecute_->setText(Text(product_.url_text));
  lblProductMailExecute_->setText(Text(product_.mail_text));
  btnClose_->setToolTip(Text(product_.hint_close));
  lblProductURLExecute_->setToolTip(Text(product_.hint_url));
  lblProductMailExecute_->setToolTip(Text(product_.hint_mail));
  imgLogo_->setToolTip(Text(product_.hint_logo));
  const bool has_url = !product_.url.empty();
  const bool has_mail = !product_.mail.empty();
  lblProductURL_->setVisible(has_url);
  lblProductURLExecute_->setVisible(has_url);
  lblProductMail_->setVisible(has_mail);
  lblProductMailExecute_->setVisible(has_mail);
}

void TfrmAbout::Arrange() {
  // Name and version share a baseline, the name centred on the product logo.
  lblName_->adjustSize();
  lblVersion_->adjustSize();
  const int name_top = kProductTop + (kProductLogoSize - lblName_->height()) / 2;
  lblName_->move(kMargin + kProductLogoSize + kMargin, name_top);
  const int baseline = name_top + QFontMetrics(lblName_->font()).ascent();
  PlaceAt(lblVersion_, RightOf(lblName_) + 8,
          baseline - QFontMetrics(lblVersion_->font()).ascent());

  // Rows without an address give their room back.
  const int row_step = kMailTop - kUrlTop;
  int row_top = kUrlTop;
  const struct {
    QLabel* label;
    QLabel* link;
    bool shown;
  } rows[] = {{lblProductURL_, lblProductURLExecute_, !product_.url.empty()},
              {lblProductMail_, lblProductMailExecute_, !product_.mail.empty()}};
  for (const auto& row : rows) {
    if (!row.shown) continue;
    PlaceAt(row.label, kMargin, row_top);
    PlaceAt(row.link, RightOf(row.label) + 2, row_top);
    row_top += row_step;
  }
  const int height = kHeight - (kUrlTop + 2 * row_step - row_top);
  const int width = std::max(kMinWidth, RightOf(lblVersion_) + 12);
  setFixedSize(width, height);
  imgLogo_->setGeometry(0, 0, width, kBannerHeight);
  imgLogo_->setPixmap(DrawMakerBanner(imgLogo_->size()));
  lblNotice_->setGeometry(kMargin, kNoticeTop, width - 2 * kMargin, kNoticeHeight);

  pnlBottom_->setGeometry(0, height - kBottomHeight, width, kBottomHeight);
  bvlBottom_->setGeometry(kMargin, 0, width - 2 * kMargin, 2);
  btnClose_->move((pnlBottom_->width() - btnClose_->width()) / 2,
                  (kBottomHeight - btnClose_->height()) / 2 + 1);
}

void TfrmAbout::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) {
    ApplyTexts();
    Arrange();
    move(screen()->availableGeometry().center() - rect().center());
    btnClose_->setFocus();
  }
  QDialog::showEvent(event);
}

// Escape closes on its release, so that the release does not reach the window beneath.
void TfrmAbout::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    event->accept();
  } else {
    QDialog::keyPressEvent(event);
  }
}

void TfrmAbout::keyReleaseEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && !event->isAutoRepeat()) {
    reject();
  } else {
    QDialog::keyReleaseEvent(event);
  }
}

bool TfrmAbout::eventFilter(QObject* watched, QEvent* event) {
  auto* label = static_cast<QLabel*>(watched);
  if (event->type() == QEvent::MouseButtonRelease) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() != Qt::LeftButton || !label->rect().contains(mouse->position().toPoint()))
      return false;
    const std::string& target = label == lblProductURLExecute_    ? product_.url
                                : label == lblProductMailExecute_ ? product_.mail
                                                                  : maker_address_;
    if (!target.empty()) OpenWithShell(target);
    return true;
  }
  // The links turn bold while the mouse is over them.
  const bool enter = event->type() == QEvent::Enter;
  if (label != imgLogo_ && (enter || event->type() == QEvent::Leave)) {
    QFont font = label->font();
    font.setBold(enter);
    label->setFont(font);
    label->adjustSize();
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace numvex
