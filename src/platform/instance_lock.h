#pragma once

#include <string>

namespace numvex {

// The lock file's name in its folder; fixed, so every instance of the program finds it.
inline constexpr char kInstanceLockName[] = "numvex-instance.lock";

// Where the program keeps its instance lock: $XDG_RUNTIME_DIR when it names a folder, else
// /tmp/numvex-<uid>, created with mode 0700 (and tightened to it) when it is ours. Empty
// when no such folder can be had, for example when another user owns /tmp/numvex-<uid>.
std::string InstanceLockFolder();

// `path` when it is, or can be made, a folder of this user that nobody else can use: an
// existing one is tightened to 0700, a symbolic link or another user's folder is refused
// (empty), a missing one is created with mode 0700.
std::string PrivateFolder(const std::string& path);

// Decides once, at start, whether this process is the first running instance, and keeps a
// mark of "an instance is running" until it dies.
//
// A lock file takes the place of a named mutex: an exclusive non-blocking flock succeeds
// only when no other instance holds the file, and every instance then keeps a shared lock
// for its whole run. The kernel drops the lock of a process that dies in any way, so a file
// left behind by a crash holds nothing and does not count.
//
// When the file cannot be used at all this process counts as the first, as a failed mutex
// creation would: better a second tray icon than none.
class InstanceLock {
 public:
  InstanceLock();  // kInstanceLockName in InstanceLockFolder()
  InstanceLock(const std::string& folder, const std::string& name);
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  bool FirstInstance() const { return first_instance_; }
  // Whether this process holds its mark, so that later starts see it running.
  bool Holding() const;

 private:
  bool first_instance_ = false;
#ifdef _WIN32
  void* mutex_ = nullptr;
#else
  int fd_ = -1;
#endif
};

}  // namespace numvex
