// Reading and replacing document files with Win32 calls.
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

#include "tape/document_file.h"
#include "tape/large_block.h"
#include "tape/system_message_win.h"

namespace numvex {

namespace {

std::shared_ptr<char[]> NewBlock(size_t bytes) {
  return std::shared_ptr<char[]>(static_cast<char*>(AllocateLargeBlock(bytes)), FreeLargeBlock);
}

bool Fail(DWORD code, std::string* error) {
  *error = SystemMessage(code);
  return false;
}

// Closes a handle this program opened, however the function ends.
class Handle {
 public:
  explicit Handle(HANDLE handle, bool owned) : handle_(handle), owned_(owned) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() {
    if (owned_ && handle_ != INVALID_HANDLE_VALUE) ::CloseHandle(handle_);
  }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
  bool owned_;
};

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  if (slash == std::string::npos) return ".";
  // "C:\x" keeps its root's separator; "C:x" lies in the drive's current folder.
  if (slash == 0 || (slash == 2 && path[1] == ':')) return path.substr(0, slash + 1);
  return path.substr(0, slash);
}

}  // namespace

bool ReadFileBytes(const std::string& path, FileBytes* bytes, std::string* error) {
  *bytes = FileBytes{};
  const bool standard_input = path == "-";
  if (!standard_input) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      *error = std::strerror(EISDIR);
      return false;
    }
  }
  // Others may go on reading, writing or renaming the file meanwhile, as on Linux.
  Handle file(standard_input
                  ? ::GetStdHandle(STD_INPUT_HANDLE)
                  : ::CreateFileA(path.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr),
              !standard_input);
  if (file.get() == INVALID_HANDLE_VALUE || file.get() == nullptr) {
    return Fail(standard_input ? ERROR_INVALID_HANDLE : ::GetLastError(), error);
  }
  // A file on disk is read into a block of its size (plus one byte to notice growth);
  // pipes and consoles grow the block as they come.
  size_t capacity = 1 << 16;
  LARGE_INTEGER size;
  if (::GetFileType(file.get()) == FILE_TYPE_DISK && ::GetFileSizeEx(file.get(), &size)) {
    capacity = static_cast<size_t>(size.QuadPart) + 1;
  }
  std::shared_ptr<char[]> block = NewBlock(capacity);
  size_t used = 0;
  for (;;) {
    if (used == capacity) {
      std::shared_ptr<char[]> bigger = NewBlock(capacity * 2);
      std::memcpy(bigger.get(), block.get(), used);
      block = std::move(bigger);
      capacity *= 2;
    }
    const DWORD wanted = static_cast<DWORD>(std::min<size_t>(capacity - used, 1u << 30));
    DWORD n = 0;
    if (!::ReadFile(file.get(), block.get() + used, wanted, &n, nullptr)) {
      const DWORD code = ::GetLastError();
      if (code == ERROR_BROKEN_PIPE) break;  // the writing end closed: the end of the data
      return Fail(code, error);
    }
    if (n == 0) break;
    used += n;
  }
  bytes->data = std::move(block);
  bytes->size = used;
  return true;
}

bool ReplaceFileAtomically(const std::string& given, const DocumentWriter& write,
                           std::string* error) {
  // The full name, separators and all as the system writes them, so that the folder of the
  // temporary file is the document's whatever the current folder and spelling.
  char full[MAX_PATH];
  const DWORD length = ::GetFullPathNameA(given.c_str(), sizeof full, full, nullptr);
  if (length == 0 || length >= sizeof full) {
    return Fail(length == 0 ? ::GetLastError() : ERROR_FILENAME_EXCED_RANGE, error);
  }
  const std::string path = full;
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  if (!exists && ::GetLastError() != ERROR_FILE_NOT_FOUND) return Fail(::GetLastError(), error);
  if (exists && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    return Fail(ERROR_ACCESS_DENIED, error);
  }
  // GetTempFileNameA creates the file, so the name is ours until it is renamed or deleted.
  char temp[MAX_PATH];
  if (::GetTempFileNameA(FolderOf(path).c_str(), "nvx", 0, temp) == 0) {
    return Fail(::GetLastError(), error);
  }
  DWORD failure = ERROR_SUCCESS;
  std::FILE* out = std::fopen(temp, "wb");
  if (out == nullptr) {
    failure = ERROR_WRITE_FAULT;
  } else {
    if (!write(out) || std::fflush(out) != 0) failure = ERROR_WRITE_FAULT;
    // On the disk before the rename, so that a crash leaves the old or the new document.
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(out)));
    if (failure == ERROR_SUCCESS && !::FlushFileBuffers(handle)) failure = ::GetLastError();
    if (std::fclose(out) != 0 && failure == ERROR_SUCCESS) failure = ERROR_WRITE_FAULT;
  }
  // ReplaceFileA keeps the original's attributes and security; a new file takes the folder's.
  if (failure == ERROR_SUCCESS &&
      !(exists ? ::ReplaceFileA(path.c_str(), temp, nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                                nullptr, nullptr)
               : ::MoveFileExA(temp, path.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))) {
    failure = ::GetLastError();
  }
  if (failure != ERROR_SUCCESS) {
    ::DeleteFileA(temp);
    return Fail(failure, error);
  }
  return true;
}

}  // namespace numvex
