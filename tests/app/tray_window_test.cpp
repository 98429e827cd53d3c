// The notification-area icon; offscreen has none, the hidden-window path pretends one took it.
#include <QSystemTrayIcon>

#include "app/tray_presence.h"
#include "window_fixture.h"

namespace numvex::testing {

TEST_F(WindowTest, TrayIconClosingIntoItAndBack) {
  Open();
  window->ShowTrayIcon(true);
  EXPECT_TRUE(window->close()) << "without a notification area closing ends the window";
  TrayPresence::PretendTrayForTesting(true);
  Conf.RunAtStartup = true;
  window->SaveSettings();
  EXPECT_FALSE(TfrmCalc(false, {}, QDir::tempPath()).Tray().TrayIconShown()) << "second instance";
  Open();
  TrayPresence& tray = window->Tray();
  EXPECT_TRUE(tray.TrayIconShown() && tray.TrayTip() == window->windowTitle());
  Type("45");
  answer = mrCancel;
  Action("mnuPQuit")->trigger();
  emit window->findChild<QSystemTrayIcon*>()->activated(QSystemTrayIcon::DoubleClick);
  EXPECT_TRUE(messages.size() == 1 && window->isVisible() && Lines() == Tape{"45"});
  window->SetDocModified(false);
  EXPECT_TRUE(!window->close() && !window->isVisible() && tray.TrayTip() == "ZEL: Numvex[]");
  Action("mnuPActivate")->trigger();
  EXPECT_EQ(std::pair(window->isVisible(), Lines()), std::pair(true, Tape{""}));
  Action("mnuPQuit")->trigger();
  EXPECT_FALSE(window->isVisible() || tray.TrayIconShown());
  tray.SetTrayTip(QString(200, 'x'));
  EXPECT_EQ(tray.TrayTip(), QString(127, 'x'));
  TrayPresence::PretendTrayForTesting(false);
}

}  // namespace numvex::testing
