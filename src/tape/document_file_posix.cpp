// Reading and replacing document files with POSIX calls.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "tape/document_file.h"
#include "tape/large_block.h"

namespace numvex {

namespace {

std::shared_ptr<char[]> NewBlock(size_t bytes) {
  return std::shared_ptr<char[]>(static_cast<char*>(AllocateLargeBlock(bytes)), FreeLargeBlock);
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
  std::string temp = dir + "/." + base + ".XXXXXX";
  std::vector<char> name(temp.begin(), temp.end());
  name.push_back('\0');
  int fd = mkstemp(name.data());
  if (fd < 0) {
    *error = std::strerror(errno);
    return false;
  }
  std::FILE* out = fdopen(fd, "wb");
  if (out == nullptr) {
    *error = std::strerror(errno);
    close(fd);
    unlink(name.data());
    return false;
  }
  int failure = 0;
  errno = 0;
  if (!write(out) || std::fflush(out) != 0) failure = errno ? errno : EIO;
  if (failure == 0 && fchmod(fd, mode) != 0) failure = errno;
  if (failure == 0 && fsync(fd) != 0) failure = errno;
  if (std::fclose(out) != 0 && failure == 0) failure = errno ? errno : EIO;
  if (failure == 0 && std::rename(name.data(), target.c_str()) != 0) failure = errno;
  if (failure != 0) {
    unlink(name.data());
    *error = std::strerror(failure);
    return false;
  }
  return true;
}

}  // namespace numvex
