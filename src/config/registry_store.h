#pragma once

// Where the current user's hive is kept: the interface the settings use, whatever keeps it.

#include <functional>
#include <string>

#include "config/registry.h"

namespace numvex::registry {

struct UpdateResult : Status {
  // Where a file that did not parse was moved; empty when nothing was moved.
  std::string damaged_path;
};

// Where the settings are kept: read whole, changed in transactions.
class Registry {
 public:
  virtual ~Registry() = default;
  // Replaces `hive` by the stored keys; on an error `hive` holds what could be read.
  virtual Status Load(Hive& hive) const = 0;
  // Applies `change` to the stored keys as one transaction.
  virtual UpdateResult Update(const std::function<void(Hive&)>& change) = 0;
};

}  // namespace numvex::registry
