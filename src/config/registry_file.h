#pragma once

// The current user's hive kept in a `.reg` file shared by all running instances.

#include <string>

#include "config/registry_store.h"

namespace numvex::registry {

class RegistryFile : public Registry {
 public:
  explicit RegistryFile(std::string path) : path_(std::move(path)) {}
  // $NUMVEX_REGISTRY, else $XDG_CONFIG_HOME/zel/hkcu.reg with the config folder defaulting to
  // $HOME/.config.
  static std::string DefaultPath();
  const std::string& path() const { return path_; }

  // A missing file gives an empty hive.
  Status Load(Hive& hive) const override;
  // One write transaction under an exclusive lock: re-reads the file, applies `change` and
  // replaces the file atomically, so other instances' values are kept and a crash leaves the
  // old or the new file (a write killed before its rename leaves "<path>.numvex-save-XXXXXX",
  // removed by the next transaction). A file that does not parse is moved aside and the change
  // starts from the keys read before the damage. A change that alters nothing writes nothing.
  UpdateResult Update(const std::function<void(Hive&)>& change) override;

 private:
  std::string path_;
};

}  // namespace numvex::registry
