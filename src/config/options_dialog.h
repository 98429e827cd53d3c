#pragma once

#include <QDialog>
#include <QSpinBox>
#include <functional>
#include <utility>
#include <vector>

#include "config/conf.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class QTabWidget;

namespace numvex {

// What the preferences window asks of the main window.
struct OptionsHooks {
  // Writes Conf whole and applies it.
  std::function<void()> save_settings;
  // Puts the texts of `language` on the main window and its dialogs, this one included.
  std::function<void(int language)> apply_language;
  // Shows (true) or removes the notification-area icon.
  std::function<void(bool show)> tray_icon;
};

// The decimals box. While typing it takes any integer, out of range too, so that Enter can
// store the text exactly as typed; its value (what the OK button reads) stays within range.
class TDecimalsSpinBox : public QSpinBox {
  Q_OBJECT
 public:
  explicit TDecimalsSpinBox(QWidget* parent);

 signals:
  void returnPressed(const QString& text);

 protected:
  QValidator::State validate(QString& input, int& pos) const override;
  int valueFromText(const QString& text) const override;
  void keyPressEvent(QKeyEvent* event) override;
};

// The preferences window. It edits the settings record Conf: the controls are filled from
// it at every showing and written back by OK only, except the language, which takes effect
// and is saved the moment it is chosen.
class TfrmOptions : public QDialog {
  Q_OBJECT
 public:
  // Results of Execute.
  static constexpr int kResultOk = 1;
  static constexpr int kResultCancel = 2;

  TfrmOptions(QWidget* main_window, OptionsHooks hooks);

  // Puts the texts of Conf.Language on the window.
  void ApplyLanguage();
  // Places the window below and right of the main window, inside its screen, puts the
  // current language on it and shows it modally; kResultOk or kResultCancel.
  int Execute();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // Every check box with the settings field it shows.
  std::vector<std::pair<QCheckBox*, bool recConf::*>> CheckBoxes() const;
  void FillFromConf();
  void cboxLanguageChange(int index);
  // Stores the controls in Conf; Decimals takes `decimals` when it is an integer.
  void cmdOKClick(const QString& decimals);
  void SaveSettings();

  OptionsHooks hooks_;
  QTabWidget* pgctrlOptions_;
  QWidget* tabStandardOptions_;
  QWidget* tabExtendedOptions_;
  QFrame* pnlCommand_;
  QPushButton* cmdOK_;
  QPushButton* cmdCancel_;
  QLabel* imgZel_;
  // Standard page.
  QLabel* lblNumber_;
  QLabel* lblLanguage_;
  QLabel* lblSysOpts_;
  TDecimalsSpinBox* edtDecimals_;
  QLabel* lblDecimals_;
  QCheckBox* chkRound_;
  QComboBox* cboxLanguage_;
  QCheckBox* chkExtension_;
  QCheckBox* chkAddIcon_;
  QCheckBox* chkAllwaysOnTop_;
  QCheckBox* chkShowNumPad_;
  // Editor page.
  QLabel* lblEditorOptions_;
  QCheckBox* chkSmartTabs_;
  QSpinBox* spinTabCount_;
  QLabel* lblTabCount_;
  QCheckBox* chkAutoIndent_;
  QCheckBox* chkTrailingSpaces_;
  QCheckBox* chkTabsToSpaces_;
  QCheckBox* chkDragDropEditing_;
  QCheckBox* chkGutter_;
  QCheckBox* chkAskSave_;
  QCheckBox* chkShowSyntaxMenu_;
};

}  // namespace numvex
