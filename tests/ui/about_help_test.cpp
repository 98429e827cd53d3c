#include <gtest/gtest.h>

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <stdexcept>
#include <string>
#include <vector>

#include "config/conf.h"
#include "config/lang_texts.h"
#include "platform/launcher.h"
#include "ui/about_box.h"
#include "ui/help_window.h"

namespace numvex {
namespace {

template <typename T>
T* Child(QWidget& parent, const char* name) {
  T* child = parent.findChild<T*>(name);
  if (child == nullptr) throw std::runtime_error(std::string("no child ") + name);
  return child;
}

// The language is read again on every showing, not only when the window is made.
TEST(HelpWindowTest, ShowsOnlyTheBoxOfTheCurrentLanguage) {
  Conf.Language = 1;
  TfrmHelp help;
  for (int language : {0, 1}) {
    Conf.Language = language;
    help.show();
    EXPECT_EQ(Child<QPlainTextEdit>(help, "txtInfoD")->isVisible(), language == 0);
    EXPECT_EQ(Child<QPlainTextEdit>(help, "txtInfoE")->isVisible(), language == 1);
    EXPECT_EQ(help.windowTitle().toStdString(), GetLangText("frmHelpCaption"));
    help.hide();
  }
  EXPECT_TRUE(Child<QPlainTextEdit>(help, "txtInfoD")
                  ->toPlainText()
                  .startsWith(u"ZEL Numvex - der Taschenrechner der n\u00e4chsten"));
}

TEST(AboutBoxTest, LongNameWidensTheBoxAndKeepsTheRowsInPlace) {
  TfrmAbout about;
  about.SetAboutLanguage(3);
  about.Product().name = std::string(60, 'W');
  about.show();
  const QLabel* name = Child<QLabel>(about, "lblName");
  const QLabel* version = Child<QLabel>(about, "lblVersion");
  const QWidget* panel = Child<QWidget>(about, "pnlBottom");
  const QPushButton* close = Child<QPushButton>(about, "btnClose");
  EXPECT_GT(about.width(), name->x() + name->width());
  EXPECT_GE(version->x(), name->x() + name->width());
  EXPECT_LE(version->x() + version->width(), about.width());
  EXPECT_EQ(panel->width(), about.width());
  EXPECT_NEAR(close->x(), (panel->width() - close->width()) / 2, 1);
  EXPECT_EQ(about.windowTitle(), QString::fromUtf8("\u00c0 propos ") + name->text());
  EXPECT_EQ(close->text(), "Fermer");
}

TEST(AboutBoxTest, EscapeClosesOnItsRelease) {
  TfrmAbout about;
  about.show();
  QPushButton* close = Child<QPushButton>(about, "btnClose");
  QTest::keyPress(close, Qt::Key_Escape);
  EXPECT_TRUE(about.isVisible());
  QTest::keyRelease(close, Qt::Key_Escape);
  EXPECT_FALSE(about.isVisible());
}

TEST(AboutBoxTest, LinksOpenTheirAddressesAndAnEmptyAddressHidesItsRow) {
  std::vector<std::string> opened;
  ShellOpenFunction previous = ReplaceShellOpen([&opened](const std::string& target) {
    opened.push_back(target);
    return true;
  });
  TfrmAbout about;
  about.Product().url = "https://numvex.example/home";
  about.Product().mail = "mailto:help@numvex.example";
  about.SetMakerAddress("https://maker.example");
  about.show();
  for (const char* link : {"lblProductURLExecute", "lblProductMailExecute", "imgLogo"}) {
    QTest::mouseClick(Child<QLabel>(about, link), Qt::LeftButton);
  }
  EXPECT_EQ(opened,
            (std::vector<std::string>{"https://numvex.example/home", "mailto:help@numvex.example",
                                      "https://maker.example"}));
  about.hide();
  about.Product().url.clear();
  about.show();
  EXPECT_FALSE(Child<QLabel>(about, "lblProductURL")->isVisible());
  EXPECT_FALSE(Child<QLabel>(about, "lblProductURLExecute")->isVisible());
  EXPECT_TRUE(Child<QLabel>(about, "lblProductMailExecute")->isVisible());
  ReplaceShellOpen(previous);
}

TEST(AboutBoxTest, OnlyGermanLanguageIdsGiveGerman) {
  const std::pair<int, int> cases[] = {
      {0x0407, 1}, {0x1407, 1}, {0x0809, 2}, {0x0409, 2}, {0x040C, 2}};
  for (const auto& [lang_id, language] : cases) {
    EXPECT_EQ(TfrmAbout::DetectAboutLanguage(lang_id), language) << std::hex << lang_id;
  }
}

TEST(AboutBoxTest, LinkTextsLoseSchemeAndQuery) {
  struct Case {
    const char *url, *mail, *url_text, *mail_text;
  };
  const Case cases[] = {
      {"HTTPS://numvex.example/home", "mailto:help@numvex.example?subject=Numvex%20PC",
       "numvex.example/home", "help@numvex.example"},
      {"http://numvex.example", "MailTo:help@numvex.example", "numvex.example",
       "help@numvex.example"},
      {"https://http://numvex.example", "help@numvex.example", "http://numvex.example",
       "help@numvex.example"},
      {"ftp://numvex.example/http://", "", "ftp://numvex.example/http://", ""},
  };
  for (const Case& c : cases) {
    TProduct product;
    product.url = c.url;
    product.mail = c.mail;
    DeriveLinkTexts(product);
    EXPECT_EQ(product.url_text, c.url_text);
    EXPECT_EQ(product.mail_text, c.mail_text);
  }
}

}  // namespace
}  // namespace numvex
