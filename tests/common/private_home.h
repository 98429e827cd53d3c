#pragma once

#include <stdlib.h>

#include <QTemporaryDir>

namespace numvex::testing {

// Points HOME, the XDG folders and the settings hive into a fresh temporary folder for the
// life of the object, so a test run neither reads nor writes anything of the user's.
class PrivateHome {
 public:
  PrivateHome() : dir_(QDir::tempPath() + "/numvex-test-XXXXXX") {
    const QByteArray base = dir_.path().toLocal8Bit();
    setenv("HOME", base.constData(), 1);
    setenv("XDG_CONFIG_HOME", (base + "/config").constData(), 1);
    setenv("XDG_DATA_HOME", (base + "/data").constData(), 1);
    setenv("XDG_RUNTIME_DIR", base.constData(), 1);
    setenv("NUMVEX_REGISTRY", (base + "/hkcu.reg").constData(), 1);
  }
  bool Valid() const { return dir_.isValid(); }

 private:
  QTemporaryDir dir_;
};

}  // namespace numvex::testing
