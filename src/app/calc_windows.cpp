// The main window's secondary windows: help, about, preferences and printing.
#include <QAction>
#include <QMenu>

#include "app/calc_main.h"
#include "app/tape_printer.h"
#include "config/conf.h"
#include "config/options_dialog.h"
#include "ui/about_box.h"
#include "ui/help_window.h"
#include "ui/logo_pictures.h"

namespace numvex {

void TfrmCalc::BuildDialogs() {
  setWindowIcon(QIcon(DrawProgramMark(64)));
  help_ = new TfrmHelp(this);
  about_ = new TfrmAbout(this);
  OptionsHooks hooks;
  hooks.save_settings = [this] { SaveSettings(); };
  hooks.apply_language = [this](int language) { ApplyLanguage(language, false); };
  hooks.tray_icon = [this](bool on) { ShowTrayIcon(on); };
  options_ = new TfrmOptions(this, std::move(hooks));
  connect(findChild<QAction*>("FilePrint"), &QAction::triggered, this, &TfrmCalc::FilePrintExecute);
}

void TfrmCalc::ApplyLanguageToDialogs() {
  options_->ApplyLanguage();
  help_->ApplyLanguage();
}

void TfrmCalc::FilePrintExecute() { PrintDocument(this, Editor(), FileName()); }

void TfrmCalc::mnuHHelpClick() { help_->exec(); }

void TfrmCalc::mnuHelpClick() {
  about_->Product() = MakeProduct();
  // The about box speaks the interface's language (its own German and English texts).
  about_->SetAboutLanguage(Conf.Language == 0 ? 1 : 2);
  about_->SetProductLogo(DrawProgramMark(32));
  about_->exec();
}

void TfrmCalc::mnuOPreferencesClick() {
  if (options_->Execute() != TfrmOptions::kResultOk) return;
  // The window follows the settings at once: keypad, syntax menu and the tape's decimals.
  if (CalcMode()) FormResize();
  mnuSyntax_->menuAction()->setVisible(Conf.ShowSyntaxMenu);
  ApplyTapeSettings();
  if (CalcMode()) Engine().RecalcAll();
}

}  // namespace numvex
