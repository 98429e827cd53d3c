#include "config/conf.h"

namespace numvex {

recConf Conf;
std::array<std::string, kLruCount> LruFiles;

void ClampInt(int32_t& value, int32_t lo, int32_t hi) {
  if (value < lo) value = lo;
  if (value > hi) value = hi;
}

void ClearRecentFiles() {
  for (auto& slot : LruFiles) slot.clear();
}

void ResetConfToProgramStart() {
  Conf = recConf{};
  ClearRecentFiles();
}

}  // namespace numvex
