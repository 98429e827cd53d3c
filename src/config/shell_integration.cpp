#include "config/shell_integration.h"

namespace numvex {

using registry::Hive;
using registry::ValueType;

namespace {

// Class names compare as the registry compares key names: ASCII letters without case.
bool SameClassName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace

void RegisterFileType(Hive& hive, const std::string& program) {
  if (hive.KeyExists(kExtensionKey)) return;
  const std::string type = kFileTypeKey;
  hive.OpenKey(kExtensionKey, true)->WriteText("", kFileTypeName);
  hive.OpenKey(type + "\\shell\\open\\command", true)->WriteText("", "\"" + program + "\" \"%1\"");
  hive.OpenKey(type + "\\DefaultIcon", true)->WriteText("", program + ",0");
}

void UnregisterFileType(Hive& hive) {
  hive.DeleteKey(kFileTypeKey);
  const registry::Key* extension = hive.OpenKey(kExtensionKey, false);
  if (extension == nullptr) return;
  const registry::Value owner = extension->Read("");
  if (owner.type == ValueType::kText && SameClassName(owner.text, kFileTypeName))
    hive.DeleteKey(kExtensionKey);
}

void SetRunAtStartup(Hive& hive, bool on, const std::string& program) {
  registry::Key* run = hive.OpenKey(kRunKey, true);
  if (on) {
    run->WriteText(kRunValue, program + " /TB");
  } else {
    run->DeleteValue(kRunValue);
  }
}

}  // namespace numvex
