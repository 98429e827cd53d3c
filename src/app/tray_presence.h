#pragma once

#include <QObject>
#include <QString>

class QMenu;
class QSystemTrayIcon;
class QWidget;

namespace numvex {

// The program's icon in the desktop's notification area with its menu mnuTaskBar: "Activate"
// (the default item) and "Quit". The icon only counts as shown when a notification area took
// it; without one the program simply has no icon.
class TrayPresence : public QObject {
  Q_OBJECT

 public:
  // The menu belongs to `window`, so it can be found among the window's children.
  explicit TrayPresence(QWidget* window);

  void ShowTrayIcon(bool on);
  bool TrayIconShown() const { return shown_; }
  // Cut to 127 characters; kept while the icon is away, so it is there once the icon shows.
  void SetTrayTip(const QString& tip);
  const QString& TrayTip() const { return tip_; }
  void ApplyLanguage();

  // Tests: a notification area counts as present, whatever the desktop says.
  static void PretendTrayForTesting(bool present);

 signals:
  void activateRequested();  // a double click on the icon, or "Activate"
  void quitRequested();

 private:
  QSystemTrayIcon* icon_;
  QMenu* menu_;
  QString tip_;  // as given; the icon's tool tip shows these characters
  bool shown_ = false;
};

}  // namespace numvex
