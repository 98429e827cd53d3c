#include "app/tray_presence.h"

#include <QAction>
#include <QFont>
#include <QIcon>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTextDocument>

#include "config/lang_texts.h"
#include "ui/logo_pictures.h"

namespace numvex {

namespace {

constexpr int kTipLimit = 127;  // some notification areas take no longer tip
bool pretend_tray = false;

QString Text(const char* id) { return QString::fromStdString(GetLangText(id)); }

}  // namespace

TrayPresence::TrayPresence(QWidget* window)
    : QObject(window),
      icon_(new QSystemTrayIcon(QIcon(DrawProgramMark(32)), this)),
      menu_(new QMenu(window)) {
  menu_->setObjectName("mnuTaskBar");
  QAction* activate = menu_->addAction(QString());
  activate->setObjectName("mnuPActivate");
  QFont bold = activate->font();
  bold.setBold(true);
  activate->setFont(bold);
  menu_->setDefaultAction(activate);
  menu_->addSeparator();
  QAction* quit = menu_->addAction(QString());
  quit->setObjectName("mnuPQuit");
  connect(activate, &QAction::triggered, this, &TrayPresence::activateRequested);
  connect(quit, &QAction::triggered, this, &TrayPresence::quitRequested);
  connect(icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason r) {
    if (r == QSystemTrayIcon::DoubleClick) emit activateRequested();
  });
  // A right click opens the menu.
  icon_->setContextMenu(menu_);
  ApplyLanguage();
}

void TrayPresence::ShowTrayIcon(bool on) {
  if (on && !shown_) {
    // An icon shown without a notification area would wait, unseen, for one to appear.
    if (!pretend_tray && !QSystemTrayIcon::isSystemTrayAvailable()) return;
    icon_->show();
    shown_ = icon_->isVisible();
  } else if (!on && shown_) {
    icon_->hide();
    shown_ = false;
  }
}

void TrayPresence::SetTrayTip(const QString& tip) {
  tip_ = tip.left(kTipLimit);
#ifdef _WIN32
  icon_->setToolTip(tip_);  // the notification area shows it as it is
#else
  // A tip that looks like markup would be shown as rich text: a file name stays a name.
  icon_->setToolTip(Qt::mightBeRichText(tip_) ? Qt::convertFromPlainText(tip_) : tip_);
#endif
}

void TrayPresence::ApplyLanguage() {
  menu_->findChild<QAction*>("mnuPActivate")->setText(Text("mnuPActivate"));
  menu_->findChild<QAction*>("mnuPQuit")->setText(Text("mnuPQuit"));
}

void TrayPresence::PretendTrayForTesting(bool present) { pretend_tray = present; }

}  // namespace numvex
