#pragma once

#include <QDialog>
#include <QPixmap>
#include <string>

class QEvent;
class QFrame;
class QKeyEvent;
class QLabel;
class QPushButton;
class QShowEvent;
class QWidget;

namespace numvex {

// What the about box shows of a product. Texts are UTF-8; url and mail go to the desktop's
// "open" when their labels are clicked, which show url_text and mail_text.
struct TProduct {
  std::string name, version, notice, url, url_text, mail, mail_text, build, hint_close, hint_url,
      hint_mail, hint_logo;
};

// Sets url_text to url without a leading "http://" or "https://" and mail_text to mail
// without a leading "mailto:" and without its query ("?subject=..."); prefixes in any case.
void DeriveLinkTexts(TProduct& product);

// This program: its name, version and build from Conf, its notice. It has no web or mail
// address of its own yet, so both rows stay hidden.
TProduct MakeProduct();

// The about box: the maker's banner, the product's logo, name, version, notice and links.
// It lays itself out on every showing, so that any name fits.
class TfrmAbout : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmAbout(QWidget* parent = nullptr);

  TProduct& Product() { return product_; }
  void SetProductLogo(const QPixmap& logo);
  // Where a click on the maker's banner leads; empty: nowhere.
  void SetMakerAddress(std::string address) { maker_address_ = std::move(address); }

  // 1 German, 2 English, 3 French; any other value picks 1 or 2 from the user's locale.
  int AboutLanguage() const { return about_language_; }
  void SetAboutLanguage(int n);
  // 1 for the German language identifiers, 2 for every other.
  static int DetectAboutLanguage(int lang_id);

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ApplyTexts();
  void Arrange();

  TProduct product_;
  std::string maker_address_;
  int about_language_ = 2;

  QLabel* imgLogo_;
  QLabel* imgProductLogo_;
  QLabel* lblName_;
  QLabel* lblVersion_;
  QLabel* lblNotice_;
  QLabel* lblProductURL_;
  QLabel* lblProductURLExecute_;
  QLabel* lblProductMail_;
  QLabel* lblProductMailExecute_;
  QWidget* pnlBottom_;
  QFrame* bvlBottom_;
  QPushButton* btnClose_;
};

}  // namespace numvex
