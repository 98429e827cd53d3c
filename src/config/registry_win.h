#pragma once

// The current user's hive on Windows: HKEY_CURRENT_USER itself.

#include <string>
#include <vector>

#include "config/registry_store.h"

namespace numvex::registry {

// HKEY_CURRENT_USER seen through the program's own keys. Only the keys under `roots` (each
// with its subkeys, paths as the Hive takes them) are read into a Hive, and a change is
// written back as what it altered there: values set and deleted, keys created and deleted
// with their subkeys. Values of other programs, and of other instances written meanwhile,
// are left as they are. Texts are REG_SZ, numbers REG_DWORD; REG_EXPAND_SZ reads as text and
// any other type as ValueType::kOther, which is kept unless a change replaces or deletes it.
class WindowsRegistry : public Registry {
 public:
  explicit WindowsRegistry(std::vector<std::string> roots);

  // Missing roots are simply absent from `hive`.
  Status Load(Hive& hive) const override;
  // Reads the roots afresh, applies `change` and writes what it altered, each key flushed
  // when closed. A change that touches keys outside the roots writes nothing and fails; a
  // write the registry refuses ends the transaction there with the system's reason (what was
  // written before it stays, as the registry has no transactions of its own).
  UpdateResult Update(const std::function<void(Hive&)>& change) override;

 private:
  std::vector<std::string> roots_;  // without leading or trailing separators
};

}  // namespace numvex::registry
