#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <stdexcept>
#include <string>

#include "config/conf.h"
#include "config/lang_texts.h"
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

}  // namespace
}  // namespace numvex
