#include "config/settings.h"

#include <algorithm>
#include <climits>

#include "config/registry_store.h"
#include "config/shell_integration.h"

namespace numvex {

using registry::Hive;
using registry::Key;
using registry::Value;
using registry::ValueType;

namespace {

// A decimal integer as the settings store it: an optional sign and digits, within 32 bits.
bool ParseInt(const std::string& text, int32_t& value) {
  size_t i = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
  if (i == text.size()) return false;
  int64_t n = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    n = n * 10 + (text[i] - '0');
    if (n > int64_t{INT32_MAX} + 1) return false;
  }
  if (text[0] == '-') n = -n;
  if (n < INT32_MIN || n > INT32_MAX) return false;
  value = static_cast<int32_t>(n);
  return true;
}

// A text value, or none: what a text setting may read.
bool IsText(const Value& v) { return v.type == ValueType::kText || v.type == ValueType::kAbsent; }

// Reads values of one key in order; each read returns false where reading must stop.
class Reader {
 public:
  explicit Reader(const Key& key) : key_(key) {}
  bool Flag(const char* name, bool& field) const {
    const Value v = key_.Read(name);
    if (v.type != ValueType::kDword) return false;
    field = v.dword != 0;
    return true;
  }
  // A missing text reads as empty.
  bool Text(const char* name, std::string& text) const {
    const Value v = key_.Read(name);
    if (!IsText(v)) return false;
    text = v.text;
    return true;
  }
  // A text that is no integer leaves `field` to `fallback` (null: as it is).
  bool Integer(const char* name, int32_t& field, const int32_t* fallback) const {
    std::string text;
    if (!Text(name, text)) return false;
    if (!ParseInt(text, field) && fallback != nullptr) field = *fallback;
    return true;
  }

 private:
  const Key& key_;
};

void SetFirstStartValues(recConf& conf) {
  ClampInt(conf.Language, 0, 1);
  conf.Decimals = 2;
  ClampInt(conf.Decimals, 0, 9);
  conf.RoundResults = false;
  conf.RegisterExtension = true;
  conf.RunAtStartup = false;
  conf.FirstStart = true;
  conf.ShowNumPad = true;
  conf.ShowSyntaxMenu = false;
  conf.AlwaysOnTop = false;
  conf.SmartTabs = false;
  conf.AutoIndent = true;
  conf.FirstTextMode = true;
  conf.AskSave = true;
  conf.TrailingSpaces = true;
  conf.TabsToSpaces = false;
  conf.DragDropEditing = true;
  conf.Gutter = true;
  conf.TabStops = 4;
  conf.LruDir = ".";
}

void WriteSettings(Key& key, const recConf& conf, const std::string& program) {
  const auto flag = [&key](const char* name, bool on) { key.WriteDword(name, on ? 1 : 0); };
  key.WriteText("Preferred Language", std::to_string(conf.Language));
  key.WriteText("Decimal Places", std::to_string(conf.Decimals));
  flag("Round Results", conf.RoundResults);
  flag("Register NVX Extension", conf.RegisterExtension);
  flag("Run at Startup", conf.RunAtStartup);
  flag("First TextMode", conf.FirstTextMode);
  flag("First start", conf.FirstStart);
  flag("Show numeric Keypad", conf.ShowNumPad);
  flag("Show Syntax Menu", conf.ShowSyntaxMenu);
  flag("Allways on Top", conf.AlwaysOnTop);
  key.WriteText("Path", program);
  key.WriteText("Version", conf.Version);
  flag("SmartTabs", conf.SmartTabs);
  flag("AskSave", conf.AskSave);
  flag("AutoIndent", conf.AutoIndent);
  flag("TrailingSpaces", conf.TrailingSpaces);
  flag("TabsToSpaces", conf.TabsToSpaces);
  flag("DragDropEditing", conf.DragDropEditing);
  flag("Gutter", conf.Gutter);
  key.WriteText("TabStops", std::to_string(conf.TabStops));
  key.WriteText("LRU_DIR", conf.LruDir);
}

const char* const kBoundNames[] = {"Top", "Left", "Width", "Height"};

std::string SlotName(size_t slot) { return "LRU" + std::to_string(slot + 1); }

}  // namespace

bool ReadSettings(const Hive& hive, recConf& conf) {
  const Key* key = hive.FindKey(kSettingsKey);
  if (key == nullptr || key->Read("First start").type == ValueType::kAbsent) return false;
  const Reader r(*key);
  const int32_t tab_fallback = 4;
  const auto read_all = [&] {
    if (!r.Integer("Preferred Language", conf.Language, nullptr)) return;
    ClampInt(conf.Language, 0, 1);
    if (!r.Integer("Decimal Places", conf.Decimals, nullptr)) return;
    ClampInt(conf.Decimals, 0, 9);
    if (!r.Flag("Round Results", conf.RoundResults) ||
        !r.Flag("Register NVX Extension", conf.RegisterExtension) ||
        !r.Flag("Run at Startup", conf.RunAtStartup)) {
      return;
    }
    conf.FirstStart = false;
    if (!r.Flag("Show numeric Keypad", conf.ShowNumPad) ||
        !r.Flag("Show Syntax Menu", conf.ShowSyntaxMenu) ||
        !r.Flag("Allways on Top", conf.AlwaysOnTop) || !r.Flag("AskSave", conf.AskSave) ||
        !r.Flag("First TextMode", conf.FirstTextMode) || !r.Flag("SmartTabs", conf.SmartTabs) ||
        !r.Flag("AutoIndent", conf.AutoIndent) || !r.Flag("TrailingSpaces", conf.TrailingSpaces) ||
        !r.Flag("TabsToSpaces", conf.TabsToSpaces) ||
        !r.Flag("DragDropEditing", conf.DragDropEditing) || !r.Flag("Gutter", conf.Gutter) ||
        !r.Integer("TabStops", conf.TabStops, &tab_fallback)) {
      return;
    }
    r.Text("LRU_DIR", conf.LruDir);
  };
  read_all();
  return true;
}

SettingsStore::SettingsStore(registry::Registry& registry, SettingsHost& host, std::string program)
    : registry_(registry), host_(host), program_(std::move(program)) {}

bool SettingsStore::Snapshot(Hive& hive, std::string* unreadable) {
  const registry::Status loaded = registry_.Load(hive);
  if (loaded.ok) return true;
  // Either unreadable or damaged: an empty transaction puts a damaged file aside and keeps
  // what could be read of it.
  const registry::UpdateResult repaired = Transact([](Hive&) {});
  if (!repaired.damaged_path.empty()) return registry_.Load(hive).ok || !hive.keys().empty();
  if (unreadable != nullptr) *unreadable = loaded.message;
  return false;
}

registry::UpdateResult SettingsStore::Transact(const std::function<void(Hive&)>& change) {
  registry::UpdateResult result = registry_.Update(change);
  if (!result.damaged_path.empty()) {
    host_.ReportError("The settings file was damaged and has been kept as " + result.damaged_path +
                      ". Numvex goes on with the settings it could read from it (" +
                      result.message + ").");
  }
  return result;
}

void SettingsStore::RegisterFileTypeEverywhere() {
  const registry::UpdateResult result =
      Transact([this](Hive& hive) { RegisterFileType(hive, program_); });
  std::string error = result.ok ? std::string() : result.message;
  if (error.empty()) error = host_.RegisterDesktopFileType(program_);
  if (!error.empty()) host_.ShowPlainMessage(error);
}

void SettingsStore::LoadSettings() {
  Hive hive;
  std::string unreadable;
  if (Snapshot(hive, &unreadable)) {
    if (!ReadSettings(hive, Conf)) {
      SetFirstStartValues(Conf);
      RegisterFileTypeEverywhere();
    }
  } else if (!unreadable.empty()) {
    // The safe values of a first start (asking before changes are lost among them), but no
    // first start: nothing is written over settings that may only be out of reach.
    host_.ReportError("The settings could not be read (" + unreadable +
                      "). Numvex goes on with its first-start settings.");
    SetFirstStartValues(Conf);
    Conf.FirstStart = false;
  }
  host_.ApplyWindowStyle();
}

void SettingsStore::SaveSettings() {
  const recConf conf = Conf;
  const registry::UpdateResult saved = Transact(
      [&](Hive& hive) { WriteSettings(*hive.OpenKey(kSettingsKey, true), conf, program_); });
  if (!saved.ok) {
    host_.ReportError("Cannot save the setting \"Preferred Language\": " + saved.message);
    return;
  }
  const bool run = conf.RunAtStartup;
  const bool run_key = Transact([&](Hive& hive) { SetRunAtStartup(hive, run, program_); }).ok;
  host_.SetDesktopRunAtStartup(run, program_);
  if (!run && run_key) host_.PostBroadcast();
  host_.ApplyEditorOptions();
  if (conf.RegisterExtension) {
    RegisterFileTypeEverywhere();
  } else {
    Transact([](Hive& hive) { UnregisterFileType(hive); });
    host_.UnregisterDesktopFileType();
  }
  host_.ApplyWindowStyle();
}

bool SettingsStore::LoadWindowPlacement(WindowBounds& bounds) {
  Hive hive;
  if (!Snapshot(hive, nullptr)) return false;
  const Key* key = hive.FindKey(kOptionsKey);
  if (key == nullptr) return false;
  int* const fields[] = {&bounds.top, &bounds.left, &bounds.width, &bounds.height};
  for (size_t i = 0; i < std::size(fields); ++i) {
    const Value v = key->Read(kBoundNames[i]);
    if (!IsText(v)) break;
    int32_t n;
    if (ParseInt(v.text, n)) *fields[i] = n;
  }
  for (size_t slot = 0; slot < LruFiles.size(); ++slot) {
    const Value v = key->Read(SlotName(slot));
    if (!IsText(v)) {
      host_.ReportError("The recent file \"" + SlotName(slot) +
                        "\" in the settings is not a text.");
      break;
    }
    LruFiles[slot] = v.text;
  }
  return true;
}

void SettingsStore::SaveWindowPlacement(const WindowBounds& bounds, bool normal_state) {
  const auto lru = LruFiles;
  const registry::UpdateResult saved = Transact([&](Hive& hive) {
    Key* key = hive.OpenKey(kOptionsKey, true);
    if (normal_state) {
      const int values[] = {bounds.top, bounds.left, bounds.width, bounds.height};
      for (size_t i = 0; i < std::size(values); ++i) {
        key->WriteText(kBoundNames[i], std::to_string(values[i]));
      }
    }
    for (size_t slot = 0; slot < lru.size(); ++slot) key->WriteText(SlotName(slot), lru[slot]);
  });
  if (!saved.ok) host_.ReportError("Cannot save the window position: " + saved.message);
}

WindowBounds BringOnScreen(const WindowBounds& window, const std::vector<WindowBounds>& screens,
                           const WindowBounds& primary) {
  // A window never has less than a pixel, whatever was stored.
  const int width = std::max(window.width, 1);
  const int height = std::max(window.height, 1);
  const auto overlaps = [&](const WindowBounds& s) {
    return window.left < s.left + s.width && s.left < window.left + width &&
           window.top < s.top + s.height && s.top < window.top + height;
  };
  if (std::any_of(screens.begin(), screens.end(), overlaps)) return window;
  WindowBounds moved = window;
  moved.width = std::min(window.width, primary.width);
  moved.height = std::min(window.height, primary.height);
  moved.left = primary.left + (primary.width - moved.width) / 2;
  moved.top = primary.top + (primary.height - moved.height) / 2;
  return moved;
}

}  // namespace numvex
