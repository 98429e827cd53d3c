#pragma once

// The current user's hive kept in a `.reg` file shared by all running instances.

#include <functional>
#include <string>

#include "config/registry.h"

namespace numvex::registry {

struct UpdateResult : Status {
  // Where a file that did not parse was moved; empty when nothing was moved.
  std::string damaged_path;
};

class RegistryFile {
 public:
  explicit RegistryFile(std::string path) : path_(std::move(path)) {}
  // $NUMVEX_REGISTRY, else $XDG_CONFIG_HOME/zel/hkcu.reg with the config folder defaulting to
  // $HOME/.config.
  static std::string DefaultPath();
  const std::string& path() const { return path_; }

  // A missing file gives an empty hive.
  Status Load(Hive& hive) const;
  // One write transaction under an exclusive lock: re-reads the file, applies `change` and
  // replaces the file atomically, so other instances' values are kept and a crash leaves the
  // old or the new file. A file that does not parse is moved aside and the change starts
  // from an empty hive.
  UpdateResult Update(const std::function<void(Hive&)>& change);

 private:
  std::string path_;
};

}  // namespace numvex::registry
