#include "config/registry_file.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cstring>
#include <exception>
#include <utility>

namespace numvex::registry {
namespace {

std::string Failure(const std::string& what, const std::string& path) {
  return what + " " + path + ": " + std::strerror(errno);
}

// Closes the descriptor, and so releases any lock on it, however the transaction ends.
class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  ~Fd() {
    if (fd_ >= 0) close(fd_);
  }
  int get() const { return fd_; }
  int release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

// Creates the folder and its missing parents, private to the user.
bool MakeFolders(const std::string& folder) {
  for (size_t end = folder.find('/', 1);; end = folder.find('/', end + 1)) {
    const std::string part = folder.substr(0, end);
    if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    if (end == std::string::npos) return true;
  }
}

// The reason the file could not be read, empty when it was; a missing file reads as absent.
// Only a regular file is read: a pipe or device in its place would block or never be a hive,
// and a write would replace it.
std::string ReadFile(const std::string& path, std::string& text, bool& present) {
  text.clear();
  present = false;
  Fd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.get() < 0) return errno == ENOENT ? std::string() : Failure("cannot read", path);
  present = true;
  struct stat st;
  if (fstat(fd.get(), &st) != 0) return Failure("cannot read", path);
  if (!S_ISREG(st.st_mode)) return "cannot read " + path + ": not a regular file";
  char buffer[65536];
  for (;;) {
    const ssize_t n = read(fd.get(), buffer, sizeof buffer);
    if (n == 0) return {};
    if (n < 0 && errno != EINTR) return Failure("cannot read", path);
    if (n > 0) text.append(buffer, static_cast<size_t>(n));
  }
}

bool WriteAll(int fd, const std::string& text) {
  for (size_t done = 0; done < text.size();) {
    const ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno != EINTR) return false;
    if (n > 0) done += static_cast<size_t>(n);
  }
  return true;
}

std::string Folder(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// A free name "<path>.damaged-YYYYMMDD-HHMMSS", numbered when one second saw two.
std::string DamagedName(const std::string& path) {
  const time_t now = time(nullptr);
  struct tm local;
  localtime_r(&now, &local);
  char stamp[32];
  strftime(stamp, sizeof stamp, ".damaged-%Y%m%d-%H%M%S", &local);
  std::string name = path + stamp;
  struct stat st;
  for (int n = 2; lstat(name.c_str(), &st) == 0; ++n) {
    name = path + stamp + "-" + std::to_string(n);
  }
  return name;
}

// The temporary a write makes beside the hive is "<name>.numvex-save-" and six characters.
constexpr char kTemporaryMark[] = ".numvex-save-";

// Removes what writes killed before their rename left beside `path`. Only under the hive's
// lock: no other writer of this hive is busy then.
void RemoveLeftovers(const std::string& path) {
  const size_t slash = path.rfind('/');
  const std::string prefix =
      (slash == std::string::npos ? path : path.substr(slash + 1)) + kTemporaryMark;
  DIR* folder = opendir(Folder(path).c_str());
  if (folder == nullptr) return;
  while (const dirent* entry = readdir(folder)) {
    const std::string name = entry->d_name;
    if (name.size() == prefix.size() + 6 && name.compare(0, prefix.size(), prefix) == 0) {
      unlink((Folder(path) + "/" + name).c_str());
    }
  }
  closedir(folder);
}

// Writes a private temporary file beside `path` and renames it over `path`.
Status Replace(const std::string& path, const std::string& text) {
  std::string temp = path + kTemporaryMark + "XXXXXX";
  Fd fd(mkostemp(temp.data(), O_CLOEXEC));
  if (fd.get() < 0) return {false, Failure("cannot create", temp)};
  Status status;
  if (fchmod(fd.get(), 0600) != 0 || !WriteAll(fd.get(), text) || fsync(fd.get()) != 0) {
    status = {false, Failure("cannot write", temp)};
  } else if (close(fd.release()) != 0) {
    status = {false, Failure("cannot write", temp)};
  } else if (rename(temp.c_str(), path.c_str()) != 0) {
    status = {false, Failure("cannot replace", path)};
  }
  if (!status.ok) {
    unlink(temp.c_str());
    return status;
  }
  // The rename itself survives a crash only once the folder is on disk.
  Fd folder(open(Folder(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.get() >= 0) fsync(folder.get());
  return status;
}

}  // namespace

std::string RegistryFile::DefaultPath() {
  if (const char* own = getenv("NUMVEX_REGISTRY"); own != nullptr && *own != '\0') return own;
  std::string config;
  if (const char* xdg = getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg == '/') {
    config = xdg;
  } else {
    const char* home = getenv("HOME");
    config = std::string(home != nullptr ? home : "") + "/.config";
  }
  return config + "/zel/hkcu.reg";
}

Status RegistryFile::Load(Hive& hive) const {
  hive = Hive();
  std::string text;
  bool present;
  if (std::string error = ReadFile(path_, text, present); !error.empty()) return {false, error};
  if (!present) return {};
  Status status = ParseReg(text, hive);
  if (!status.ok) status.message = path_ + ": " + status.message;
  return status;
}

UpdateResult RegistryFile::Update(const std::function<void(Hive&)>& change) {
  UpdateResult result;
  const auto fail = [&result](std::string message) {
    result.ok = false;
    result.message = std::move(message);
    return result;
  };
  const std::string folder = Folder(path_);
  if (!MakeFolders(folder)) return fail(Failure("cannot create folder", folder));
  const std::string lock_path = path_ + ".lock";
  Fd lock(open(lock_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
  if (lock.get() < 0) return fail(Failure("cannot open", lock_path));
  while (flock(lock.get(), LOCK_EX) != 0) {
    if (errno != EINTR) return fail(Failure("cannot lock", lock_path));
  }
  RemoveLeftovers(path_);
  Hive hive;
  std::string text;
  bool present;
  if (std::string error = ReadFile(path_, text, present); !error.empty()) return fail(error);
  if (present) {
    if (const Status parsed = ParseReg(text, hive); !parsed.ok) {
      const std::string aside = DamagedName(path_);
      if (rename(path_.c_str(), aside.c_str()) != 0) return fail(Failure("cannot move", path_));
      result.damaged_path = aside;
      result.message = path_ + ": " + parsed.message + "; moved to " + aside;
      present = false;
    }
  }
  const std::string before = present ? WriteReg(hive) : std::string();
  try {
    change(hive);
    text = WriteReg(hive);
  } catch (const std::exception& e) {
    return fail(std::string("settings change failed: ") + e.what());
  } catch (...) {
    return fail("settings change failed");
  }
  if (present && text == before) return result;
  if (const Status written = Replace(path_, text); !written.ok) return fail(written.message);
  return result;
}

}  // namespace numvex::registry
