#include "config/settings.h"

#include "config/conf.h"

namespace numvex {

void LoadSettings() {
  // No stored settings: the first-start values.
  ClampInt(Conf.Language, 0, 1);
  Conf.Decimals = 2;
  Conf.RoundResults = false;
  Conf.RegisterExtension = true;
  Conf.RunAtStartup = false;
  Conf.FirstStart = true;
  Conf.ShowNumPad = true;
  Conf.ShowSyntaxMenu = false;
  Conf.AlwaysOnTop = false;
  Conf.SmartTabs = false;
  Conf.AutoIndent = true;
  Conf.FirstTextMode = true;
  Conf.AskSave = true;
  Conf.TrailingSpaces = true;
  Conf.TabsToSpaces = false;
  Conf.DragDropEditing = true;
  Conf.Gutter = true;
  Conf.TabStops = 4;
  Conf.LruDir = ".";
}

void SaveSettings() {}

}  // namespace numvex
