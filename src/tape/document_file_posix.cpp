// Reading and replacing document files with POSIX calls.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "tape/document_file.h"
#include "tape/large_block.h"

namespace numvex {

namespace {

std::shared_ptr<char[]> NewBlock(size_t bytes) {
  return std::shared_ptr<char[]>(static_cast<char*>(AllocateLargeBlock(bytes)), FreeLargeBlock);
}

// A save writes ".NAME.numvex-save-XXXXXX" beside NAME and holds an exclusive lock on it until
// the rename; a writer killed meanwhile leaves it behind with the lock gone.
std::string TemporaryPrefix(const std::string& base) { return "." + base + ".numvex-save-"; }
constexpr size_t kRandomPart = 6;  // mkstemp's XXXXXX

bool IsTemporaryOf(std::string_view name, const std::string& prefix) {
  if (name.size() != prefix.size() + kRandomPart || name.compare(0, prefix.size(), prefix) != 0) {
    return false;
  }
  return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                     [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
}

// Removes the temporaries killed saves of the file left in `dir`: only regular files of that
// name whose lock no living writer holds.
void RemoveLeftovers(const std::string& dir, const std::string& prefix) {
  DIR* folder = opendir(dir.c_str());
  if (folder == nullptr) return;
  while (const dirent* entry = readdir(folder)) {
    if (!IsTemporaryOf(entry->d_name, prefix)) continue;
    const std::string path = dir + "/" + entry->d_name;
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) continue;
    struct stat st;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0) {
      unlink(path.c_str());
    }
    close(fd);
  }
  closedir(folder);
}

// A new temporary in `dir`, locked; -1 with errno set when none could be made. A name removed
// as a leftover between its creation and the lock is given up for another.
int CreateTemporary(const std::string& dir, const std::string& prefix, std::string* name) {
  for (int attempt = 0; attempt < 8; ++attempt) {
    std::string pattern = dir + "/" + prefix + std::string(kRandomPart, 'X');
    const int fd = mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat st;
    if (flock(fd, LOCK_EX) == 0 && fstat(fd, &st) == 0 && st.st_nlink > 0) {
      *name = std::move(pattern);
      return fd;
    }
    close(fd);
  }
  errno = EEXIST;
  return -1;
}

}  // namespace

bool ReadFileBytes(const std::string& path, FileBytes* bytes, std::string* error) {
  *bytes = FileBytes{};
  int fd = path == "-" ? 0 : open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    *error = std::strerror(errno);
    return false;
  }
  struct stat st;
  size_t capacity = 1 << 16;
  if (fstat(fd, &st) == 0) {
    if (S_ISDIR(st.st_mode)) {
      if (fd != 0) close(fd);
      *error = std::strerror(EISDIR);
      return false;
    }
    // A regular file's size is known: one read into a block of that size (plus one
    // byte to notice a file that grew meanwhile). Others grow as they come.
    if (S_ISREG(st.st_mode)) capacity = static_cast<size_t>(st.st_size) + 1;
  }
  // Not zeroed: read fills it. A block of megabytes comes in huge pages, which spares
  // the kernel most of the page faults of filling it.
  std::shared_ptr<char[]> block = NewBlock(capacity);
  size_t used = 0;
  int failure = 0;
  for (;;) {
    if (used == capacity) {
      size_t grown = capacity * 2;
      std::shared_ptr<char[]> bigger = NewBlock(grown);
      std::memcpy(bigger.get(), block.get(), used);
      block = std::move(bigger);
      capacity = grown;
    }
    ssize_t n = read(fd, block.get() + used, capacity - used);
    if (n < 0) {
      if (errno == EINTR) continue;
      failure = errno;
      break;
    }
    if (n == 0) break;
    used += static_cast<size_t>(n);
  }
  if (fd != 0) close(fd);
  if (failure != 0) {
    *error = std::strerror(failure);
    return false;
  }
  bytes->data = std::move(block);
  bytes->size = used;
  return true;
}

bool ReplaceFileAtomically(const std::string& path, const DocumentWriter& write,
                           std::string* error) {
  char resolved[PATH_MAX];
  std::string target = realpath(path.c_str(), resolved) != nullptr ? resolved : path;
  struct stat st;
  mode_t mode;
  if (stat(target.c_str(), &st) == 0) {
    // Root may write anywhere; a file nobody may write is still read-only to the user.
    const int denied = access(target.c_str(), W_OK) != 0 ? errno
                       : (st.st_mode & 0222) == 0        ? EACCES
                                                         : 0;
    if (denied != 0) {
      *error = std::strerror(denied);
      return false;
    }
    mode = st.st_mode & 07777;
  } else if (errno == ENOENT) {
    const mode_t mask = umask(0);
    umask(mask);
    mode = 0666 & ~mask;
  } else {
    *error = std::strerror(errno);
    return false;
  }
  std::string dir = ".";
  size_t slash = target.rfind('/');
  if (slash != std::string::npos) dir = slash == 0 ? "/" : target.substr(0, slash);
  std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
  const std::string prefix = TemporaryPrefix(base);
  RemoveLeftovers(dir, prefix);
  std::string temp;
  const int fd = CreateTemporary(dir, prefix, &temp);
  if (fd < 0) {
    *error = std::strerror(errno);
    return false;
  }
  // The lock lives with the open file, so a second descriptor keeps it through the rename.
  const int lock = dup(fd);
  std::FILE* out = lock < 0 ? nullptr : fdopen(fd, "wb");
  if (out == nullptr) {
    *error = std::strerror(errno);
    unlink(temp.c_str());
    close(fd);
    if (lock >= 0) close(lock);
    return false;
  }
  int failure = 0;
  errno = 0;
  if (!write(out) || std::fflush(out) != 0) failure = errno ? errno : EIO;
  if (failure == 0 && fchmod(fd, mode) != 0) failure = errno;
  if (failure == 0 && fsync(fd) != 0) failure = errno;
  if (std::fclose(out) != 0 && failure == 0) failure = errno ? errno : EIO;
  if (failure == 0 && std::rename(temp.c_str(), target.c_str()) != 0) failure = errno;
  if (failure != 0) unlink(temp.c_str());
  close(lock);
  if (failure != 0) {
    *error = std::strerror(failure);
    return false;
  }
  // The rename itself outlives a crash of the system once the folder is on disk.
  const int folder = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    fsync(folder);
    close(folder);
  }
  return true;
}

}  // namespace numvex
