#include "platform/instance_lock.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#endif

namespace numvex {

#ifdef _WIN32

std::string InstanceLockFolder() { return std::string(); }
std::string PrivateFolder(const std::string& path) { return path; }

InstanceLock::InstanceLock() : InstanceLock(std::string(), "ZEL Numvex 3.0 instance") {}

// The folder has no meaning for a kernel object; the name alone identifies the mutex.
InstanceLock::InstanceLock(const std::string& /*folder*/, const std::string& name) {
  mutex_ = ::CreateMutexA(nullptr, TRUE, name.c_str());
  first_instance_ = ::GetLastError() != ERROR_ALREADY_EXISTS;
  if (mutex_ != nullptr && first_instance_) ::ReleaseMutex(mutex_);
}

InstanceLock::~InstanceLock() {
  if (mutex_ != nullptr) ::CloseHandle(mutex_);
}

bool InstanceLock::Holding() const { return mutex_ != nullptr; }

#else

namespace {

bool IsFolder(const char* path) {
  struct stat st;
  return stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

// Waits for the lock; only a signal interrupts the wait, and then we wait again.
bool FlockWait(int fd, int operation) {
  while (flock(fd, operation) != 0) {
    if (errno != EINTR) return false;
  }
  return true;
}

}  // namespace

std::string InstanceLockFolder() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && runtime[0] == '/' && IsFolder(runtime)) return runtime;
  return PrivateFolder("/tmp/numvex-" + std::to_string(geteuid()));
}

// /tmp is shared with everyone: the folder must be a real folder of ours that nobody else
// can write to, or someone could plant a file or link there that we would then lock.
std::string PrivateFolder(const std::string& path) {
  if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return std::string();
  struct stat st;
  if (lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != geteuid()) {
    return std::string();
  }
  if ((st.st_mode & 077) != 0 && chmod(path.c_str(), 0700) != 0) return std::string();
  return path;
}

InstanceLock::InstanceLock() : InstanceLock(InstanceLockFolder(), kInstanceLockName) {}

InstanceLock::InstanceLock(const std::string& folder, const std::string& name) {
  first_instance_ = true;
  if (folder.empty()) return;
  const std::string path = folder + "/" + name;
  // Not inherited: a program started from a link must not keep "an instance" alive.
  fd_ = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd_ < 0) return;

  // flock turns an exclusive lock into a shared one by dropping it and locking again. A
  // second instance starting in that gap would also see the file free; the gate file lets
  // only one starting instance at a time decide, so the gap is never visible.
  const std::string gate_path = path + ".gate";
  const int gate = open(gate_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (gate >= 0) FlockWait(gate, LOCK_EX);

  int exclusive;
  do {
    exclusive = flock(fd_, LOCK_EX | LOCK_NB);
  } while (exclusive != 0 && errno == EINTR);
  // Only another holder makes this a later instance; any other failure counts as none.
  first_instance_ = exclusive == 0 || errno != EWOULDBLOCK;
  if (!FlockWait(fd_, LOCK_SH)) {
    close(fd_);
    fd_ = -1;
  }
  if (gate >= 0) close(gate);
}

InstanceLock::~InstanceLock() {
  // Closing the only descriptor of the file releases the lock.
  if (fd_ >= 0) close(fd_);
}

bool InstanceLock::Holding() const { return fd_ >= 0; }

#endif

}  // namespace numvex
