// The `.reg` text reader on any bytes: whatever hive it reads (all of it, or what came before
// a bad line), writing that hive and reading the text back gives the same hive, and writing
// that again gives the same text.
#include <string>
#include <string_view>

#include "config/registry.h"
#include "fuzz_check.h"

namespace numvex::fuzz {
namespace {

bool SameValue(const registry::Value& a, const registry::Value& b) {
  return a.type == b.type && a.text == b.text && a.dword == b.dword;
}

bool SameHive(const registry::Hive& a, const registry::Hive& b) {
  if (a.keys().size() != b.keys().size()) return false;
  auto other = b.keys().begin();
  for (const auto& [name, key] : a.keys()) {
    const registry::Key& twin = other->second;
    if (name != other->first || key.path() != twin.path()) return false;
    if (key.values().size() != twin.values().size()) return false;
    auto value = twin.values().begin();
    for (const auto& [value_name, v] : key.values()) {
      if (value_name != value->first || !SameValue(v, value->second)) return false;
      ++value;
    }
    ++other;
  }
  return true;
}

}  // namespace
}  // namespace numvex::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace numvex;
  registry::Hive hive;
  registry::ParseReg(std::string_view(reinterpret_cast<const char*>(data), size), hive);
  const std::string text = registry::WriteReg(hive);
  registry::Hive again;
  const registry::Status status = registry::ParseReg(text, again);
  if (!status.ok) std::fprintf(stderr, "%s\n", status.message.c_str());
  FUZZ_CHECK(status.ok);
  FUZZ_CHECK(fuzz::SameHive(hive, again));
  FUZZ_CHECK(registry::WriteReg(again) == text);
  return 0;
}
