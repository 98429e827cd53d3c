// Where this system keeps the current user's hive.
#include "config/settings.h"
#include "config/shell_integration.h"

#ifdef _WIN32
#include "config/registry_win.h"
#else
#include "config/registry_file.h"
#endif

namespace numvex {

std::unique_ptr<registry::Registry> CurrentUserRegistry() {
#ifdef _WIN32
  return std::make_unique<registry::WindowsRegistry>(
      std::vector<std::string>{kSettingsKey, kExtensionKey, kFileTypeKey, kRunKey});
#else
  return std::make_unique<registry::RegistryFile>(registry::RegistryFile::DefaultPath());
#endif
}

}  // namespace numvex
