#include "config/options_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <iterator>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "config/conf.h"

namespace numvex {
namespace {

using Log = std::vector<std::string>;

class OptionsDialogTest : public ::testing::Test {
 protected:
  OptionsDialogTest() {
    ResetConfToProgramStart();
    Conf.Language = 1;
    dialog_ = new TfrmOptions(
        &main_window_, {[this] { log_.push_back("save"); },
                        [this](int language) {
                          log_.push_back("language " + std::to_string(language));
                          dialog_->ApplyLanguage();
                        },
                        [this](bool show) { log_.push_back(show ? "icon on" : "icon off"); }});
  }

  // Opens the window modally, does `during` in it and returns Execute's result.
  int Run(const std::function<void()>& during) {
    QTimer::singleShot(0, dialog_, during);
    return dialog_->Execute();
  }
  template <typename Widget = QWidget>
  Widget* Find(const char* name) {
    auto* widget = dialog_->findChild<Widget*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  void ClickOk() { Find<QPushButton>("cmdOK")->click(); }

  QWidget main_window_;
  TfrmOptions* dialog_;  // a child of main_window_
  Log log_;
};

TEST_F(OptionsDialogTest, EveryOpeningStartsOnTheStandardPageInTheDecimals) {
  auto* pages = Find<QTabWidget>("pgctrlOptions");
  for (int opening = 0; opening < 2; ++opening) {
    Run([&] {
      EXPECT_EQ(pages->currentIndex(), 0) << opening;
      // The widget that has or, once the desktop activates the window, gets the focus.
      EXPECT_EQ(dialog_->focusWidget(), Find("edtDecimals")) << opening;
      pages->setCurrentIndex(1);
      Find("chkGutter")->setFocus();
      dialog_->reject();
    });
  }
}

TEST_F(OptionsDialogTest, OpensBelowRightOfTheMainWindowButInsideTheScreen) {
  const QRect screen = main_window_.screen()->availableGeometry();
  // The main window's position; whether the frame lands in the corner, else 50 right and 70 down.
  const std::pair<QPoint, bool> cases[] = {{screen.bottomRight() - QPoint(100, 100), true},
                                           {screen.topLeft() + QPoint(10, 20), false}};
  for (const auto& [main_window, at_corner] : cases) {
    main_window_.move(main_window);
    Run([&] {
      const QRect frame = dialog_->frameGeometry();
      if (at_corner) {
        EXPECT_EQ(frame.bottomRight(), screen.bottomRight());
      } else {
        EXPECT_EQ(frame.topLeft(), main_window + QPoint(50, 70));
      }
      dialog_->reject();
    });
  }
}

TEST_F(OptionsDialogTest, ChosenLanguageIsSavedAtOnceAndOutlastsCancel) {
  auto* languages = Find<QComboBox>("cboxLanguage");
  const int result = Run([&] {
    Find<QCheckBox>("chkRound")->click();
    QTest::keyClick(languages, Qt::Key_Up);  // English to German
    QTest::keyClick(languages, Qt::Key_Up);  // the empty entry keeps German
    EXPECT_EQ(languages->currentIndex(), 1);
    QTest::keyClick(Find("edtDecimals"), Qt::Key_Escape);
  });
  EXPECT_EQ(result, TfrmOptions::kResultCancel);
  EXPECT_EQ(Conf.Language, 0);
  EXPECT_FALSE(Conf.RoundResults);
  EXPECT_EQ(log_, (Log{"language 1", "language 0", "save", "save"}));
}

TEST_F(OptionsDialogTest, OkWithoutChangesKeepsTheSettingsAndSavesOnce) {
  Conf.Decimals = 5;
  Conf.Language = 0;
  EXPECT_EQ(Run([&] { ClickOk(); }), TfrmOptions::kResultOk);
  EXPECT_EQ(Find<QComboBox>("cboxLanguage")->currentIndex(), 1);
  EXPECT_EQ(Conf.Decimals, 5);
  EXPECT_EQ(log_, (Log{"language 0", "save"}));
}

TEST_F(OptionsDialogTest, IconBoxShowsOrRemovesTheIconWhenItChanged) {
  for (bool before : {true, false}) {
    Conf.RunAtStartup = before;
    log_.clear();
    Run([&] {
      Find<QCheckBox>("chkAddIcon")->click();
      ClickOk();
    });
    EXPECT_EQ(log_, (Log{"language 1", before ? "icon off" : "icon on", "save"}));
  }
}

TEST_F(OptionsDialogTest, EnterStoresTheDecimalsAsTypedAndOkInRange) {
  // Typed text, Enter (else the OK button), the decimals stored over 4.
  const std::tuple<const char*, bool, int> cases[] = {
      {"15", true, 15}, {"15", false, 9}, {"-", true, 4}};
  for (const auto& [typed, enter, expected] : cases) {
    Conf.Decimals = 4;
    const int result = Run([&] {
      QTest::keyClicks(Find("edtDecimals"), typed);
      enter ? QTest::keyClick(Find("edtDecimals"), Qt::Key_Return) : ClickOk();
    });
    EXPECT_EQ(result, TfrmOptions::kResultOk) << typed;
    EXPECT_EQ(Conf.Decimals, expected) << typed << enter;
  }
}

// The tab stops go up by one at every opening, so they show and store their own field too.
TEST_F(OptionsDialogTest, EachControlShowsAndStoresItsOwnField) {
  const std::pair<const char*, bool recConf::*> boxes[] = {
      {"chkRound", &recConf::RoundResults},
      {"chkExtension", &recConf::RegisterExtension},
      {"chkAddIcon", &recConf::RunAtStartup},
      {"chkAllwaysOnTop", &recConf::AlwaysOnTop},
      {"chkShowNumPad", &recConf::ShowNumPad},
      {"chkShowSyntaxMenu", &recConf::ShowSyntaxMenu},
      {"chkSmartTabs", &recConf::SmartTabs},
      {"chkAutoIndent", &recConf::AutoIndent},
      {"chkTrailingSpaces", &recConf::TrailingSpaces},
      {"chkTabsToSpaces", &recConf::TabsToSpaces},
      {"chkDragDropEditing", &recConf::DragDropEditing},
      {"chkGutter", &recConf::Gutter},
      {"chkAskSave", &recConf::AskSave}};
  for (const auto& [name, field] : boxes) {
    for (const auto& other : boxes) Conf.*other.second = other.second == field;
    Run([&] {
      for (const auto& [other, other_field] : boxes) {
        EXPECT_EQ(Find<QCheckBox>(other)->isChecked(), other_field == field) << name << other;
      }
      Find<QCheckBox>(name)->click();
      Find<QSpinBox>("spinTabCount")->stepUp();
      ClickOk();
    });
    for (const auto& other : boxes) EXPECT_FALSE(Conf.*other.second) << name << other.first;
  }
  EXPECT_EQ(Conf.TabStops, static_cast<int>(std::size(boxes)));
}

TEST_F(OptionsDialogTest, ApplyLanguagePutsTheTextsOfTheChosenLanguage) {
  const std::tuple<int, const char*, const char*> cases[] = {
      {0, "Ergebnisse runden", "Numvex: Optionen"}, {1, "Round results", "Numvex: Options"}};
  for (const auto& [language, round, title] : cases) {
    Conf.Language = language;
    dialog_->ApplyLanguage();
    EXPECT_EQ(Find<QCheckBox>("chkRound")->text().toStdString(), round);
    EXPECT_EQ(dialog_->windowTitle().toStdString(), title);
  }
}

}  // namespace
}  // namespace numvex
