// The main window's side of the settings: editor options, window style, placement and the
// recent-file menu.
#include <Qsci/qsciscintilla.h>

#include <QAction>
#include <QGuiApplication>
#include <QScreen>

#include "app/calc_main.h"
#include "app/message_box.h"
#include "app/settings_bridge.h"
#include "config/conf.h"
#include "config/recent_files.h"
#include "config/settings.h"

namespace numvex {

namespace {

WindowBounds BoundsOf(const QRect& r) { return {r.top(), r.left(), r.width(), r.height()}; }

}  // namespace

void TfrmCalc::LoadSettings() { settings_->LoadSettings(); }

void TfrmCalc::SaveSettings() { settings_->SaveSettings(); }

void TfrmCalc::ApplyEditorOptions() {
  editor_options_->SetTabWidth(Conf.TabStops);
  EditorOptionSet options = eoScrollPastEol;
  if (Conf.SmartTabs) options |= eoSmartTabs;
  if (Conf.AutoIndent) options |= eoAutoIndent;
  if (Conf.TrailingSpaces) options |= eoTrimTrailingSpaces;
  if (Conf.TabsToSpaces) options |= eoTabsToSpaces;
  if (Conf.DragDropEditing) options |= eoDragDropEditing;
  editor_options_->SetOptions(options);
  editor_options_->SetTrimming(!CalcMode());
  // The line-number gutter only ever shows in text editor mode; calc mode leaves it alone.
  if (!CalcMode()) {
    txtCalc_->setMarginWidth(0, Conf.Gutter ? QStringLiteral("099") : QString());
    txtCalc_->setMarginLineNumbers(0, Conf.Gutter);
  }
}

EditorOptionSet TfrmCalc::EditorOptionFlags() const { return editor_options_->Options(); }

void TfrmCalc::ApplyWindowStyle() {
  const bool on_top = windowFlags().testFlag(Qt::WindowStaysOnTopHint);
  if (on_top != Conf.AlwaysOnTop) {
    // Changing a window flag hides the window; a shown one comes back where it was.
    const bool shown = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, Conf.AlwaysOnTop);
    if (shown) show();
  }
  setAcceptDrops(true);
}

void TfrmCalc::LoadWindowPlacement() {
  WindowBounds bounds = BoundsOf(QRect(pos(), size()));
  const bool stored = settings_->LoadWindowPlacement(bounds);
  UpdateRecentMenu();
  if (!stored) return;
  std::vector<WindowBounds> screens;
  for (const QScreen* screen : QGuiApplication::screens()) {
    screens.push_back(BoundsOf(screen->geometry()));
  }
  if (const QScreen* primary = QGuiApplication::primaryScreen()) {
    bounds = BringOnScreen(bounds, screens, BoundsOf(primary->availableGeometry()));
  }
  move(bounds.left, bounds.top);
  resize(bounds.width, bounds.height);
}

void TfrmCalc::SaveWindowPlacement() {
  const bool normal =
      !(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
  settings_->SaveWindowPlacement(BoundsOf(QRect(pos(), size())), normal);
}

void TfrmCalc::UpdateRecentMenu() {
  const RecentMenu menu = BuildRecentMenu(LruFiles);
  for (int slot = 0; slot < kLruCount; ++slot) {
    auto* item = findChild<QAction*>(QString("mnuFLRU%1").arg(slot + 1));
    const RecentMenuItem& entry = menu.items[static_cast<size_t>(slot)];
    item->setVisible(entry.visible);
    if (entry.visible) {
      item->setText(QString::fromStdString(entry.caption));
      item->setData(entry.tag);
    }
  }
  findChild<QAction*>("mnuFDelimLRU")->setVisible(menu.delimiter_visible);
}

void TfrmCalc::mnuFLRU1Click(int tag) {
  if (tag < 1 || tag > kLruCount) return;
  // Asking about unsaved changes reorders the list: take the path first.
  const QString path = QString::fromStdString(LruFiles[static_cast<size_t>(tag - 1)]);
  if (AskSave() != mrCancel) OpenDocument(path);
}

}  // namespace numvex
