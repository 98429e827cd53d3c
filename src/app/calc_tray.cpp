// The main window's icon in the notification area, and the message that reaches every running
// instance when logon start is switched off.
#include <Qsci/qsciscintilla.h>

#include "app/calc_main.h"
#include "app/message_box.h"
#include "app/tray_presence.h"
#include "platform/instance_broadcast.h"

namespace numvex {

void TfrmCalc::BuildTray() {
  tray_ = new TrayPresence(this);
  connect(tray_, &TrayPresence::activateRequested, this, &TfrmCalc::oTaskBarDblClick);
  connect(tray_, &TrayPresence::quitRequested, this, &TfrmCalc::mnuPQuitClick);
}

void TfrmCalc::ListenToInstances() {
  broadcast_ = new InstanceBroadcast(InstanceBroadcast::DefaultFolder(), this);
  connect(broadcast_, &InstanceBroadcast::received, this, &TfrmCalc::InstanceBroadcastReceived);
  broadcast_->Listen();
}

void TfrmCalc::ShowTrayIcon(bool on) {
  if (first_instance_) tray_->ShowTrayIcon(on);
}

void TfrmCalc::SetTrayTip(const QString& tip) {
  // The caption changes while the window is still being built.
  if (first_instance_ && tray_ != nullptr) tray_->SetTrayTip(tip);
}

void TfrmCalc::oTaskBarDblClick() {
  if (!isVisible()) {
    // Back from the notification area: the settings other instances saved meanwhile, and a
    // new tape.
    LoadSettings();
    ApplyTapeSettings();
    LoadWindowPlacement();
    NewCalcFile();
    show();
  }
  if (isMinimized()) showNormal();
  txtCalc_->setFocus();
  raise();
  activateWindow();
}

void TfrmCalc::mnuPQuitClick() {
  if (AskSave() == mrCancel) return;
  // Without its icon the window closes for good.
  ShowTrayIcon(false);
  close();
}

void TfrmCalc::InstanceBroadcastReceived() {
  // Logon start was switched off, here or in another instance: every instance gives up its
  // icon, and one living only in the notification area ends. A hidden window is never the
  // active one, so the message counts whichever window is active.
  const bool tray_only = tray_->TrayIconShown() && !isVisible();
  tray_->ShowTrayIcon(false);
  if (tray_only) close();
}

}  // namespace numvex
