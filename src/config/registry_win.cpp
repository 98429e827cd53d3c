#include "config/registry_win.h"

#include <windows.h>

#include <cstring>
#include <exception>
#include <utility>

#include "tape/system_message_win.h"

namespace numvex::registry {
namespace {

constexpr char kHiveName[] = "HKEY_CURRENT_USER\\";

// Closes a key however the step ends.
class OpenKey {
 public:
  OpenKey() = default;
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;
  ~OpenKey() {
    if (key_ != nullptr) ::RegCloseKey(key_);
  }
  HKEY* out() { return &key_; }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

Status Failure(const std::string& what, const std::string& path, LONG code) {
  return {false, what + " " + kHiveName + path + ": " + SystemMessage(static_cast<DWORD>(code))};
}

std::string Trimmed(const std::string& path) {
  const size_t first = path.find_first_not_of('\\');
  if (first == std::string::npos) return std::string();
  return path.substr(first, path.find_last_not_of('\\') - first + 1);
}

bool SameName(std::string_view a, std::string_view b) {
  return !NameLess()(a, b) && !NameLess()(b, a);
}

// Whether `path` is `root` or one of its subkeys.
bool Within(std::string_view path, std::string_view root) {
  return path.size() >= root.size() && SameName(path.substr(0, root.size()), root) &&
         (path.size() == root.size() || path[root.size()] == '\\');
}

Value ValueOf(DWORD type, const std::vector<BYTE>& data, DWORD size) {
  if (type == REG_SZ || type == REG_EXPAND_SZ) {
    // Stored texts need not end in a terminator; the terminator does not belong to the text.
    std::string text(reinterpret_cast<const char*>(data.data()), size);
    const size_t end = text.find('\0');
    if (end != std::string::npos) text.resize(end);
    return Value{ValueType::kText, std::move(text), 0};
  }
  if (type == REG_DWORD && size == sizeof(DWORD)) {
    DWORD dword;
    std::memcpy(&dword, data.data(), sizeof dword);
    return Value{ValueType::kDword, std::string(), dword};
  }
  return Value{ValueType::kOther, std::string(), 0};
}

// Copies the open key `key` at `path` with its values and subkeys into `hive`.
Status LoadKey(HKEY key, const std::string& path, Hive& hive) {
  Key* copy = hive.OpenKey(path, true);
  if (copy == nullptr) return {};  // a name with a line break: not one of the program's keys
  DWORD subkeys = 0, values = 0, longest_subkey = 0, longest_name = 0, longest_data = 0;
  LONG result =
      ::RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, &longest_subkey, nullptr,
                         &values, &longest_name, &longest_data, nullptr, nullptr);
  if (result != ERROR_SUCCESS) return Failure("cannot read", path, result);
  std::vector<char> name(longest_name + 2);
  std::vector<BYTE> data(longest_data + 2);
  for (DWORD i = 0; i < values; ++i) {
    DWORD name_size = static_cast<DWORD>(name.size());
    DWORD data_size = static_cast<DWORD>(data.size());
    DWORD type = REG_NONE;
    result =
        ::RegEnumValueA(key, i, name.data(), &name_size, nullptr, &type, data.data(), &data_size);
    // Another program may have changed the key since it was measured.
    if (result == ERROR_NO_MORE_ITEMS) break;
    if (result != ERROR_SUCCESS) return Failure("cannot read the values of", path, result);
    copy->Write(std::string_view(name.data(), name_size), ValueOf(type, data, data_size));
  }
  std::vector<char> subkey(longest_subkey + 2);
  for (DWORD i = 0; i < subkeys; ++i) {
    DWORD size = static_cast<DWORD>(subkey.size());
    result = ::RegEnumKeyExA(key, i, subkey.data(), &size, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_NO_MORE_ITEMS) break;
    if (result != ERROR_SUCCESS) return Failure("cannot read the subkeys of", path, result);
    const std::string child = path + "\\" + std::string(subkey.data(), size);
    OpenKey sub;
    result = ::RegOpenKeyExA(key, std::string(subkey.data(), size).c_str(), 0, KEY_READ, sub.out());
    if (result == ERROR_FILE_NOT_FOUND) continue;  // deleted meanwhile
    if (result != ERROR_SUCCESS) return Failure("cannot open", child, result);
    if (Status status = LoadKey(sub.get(), child, hive); !status.ok) return status;
  }
  return {};
}

bool Equal(const Value& a, const Value& b) {
  return a.type == b.type && (a.type == ValueType::kText    ? a.text == b.text
                              : a.type == ValueType::kDword ? a.dword == b.dword
                                                            : true);
}

Status WriteValue(HKEY key, const std::string& path, const std::string& name, const Value& v) {
  LONG result;
  if (v.type == ValueType::kDword) {
    const DWORD dword = v.dword;
    result = ::RegSetValueExA(key, name.c_str(), 0, REG_DWORD,
                              reinterpret_cast<const BYTE*>(&dword), sizeof dword);
  } else {
    result = ::RegSetValueExA(key, name.c_str(), 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(v.text.c_str()),
                              static_cast<DWORD>(v.text.size() + 1));
  }
  if (result != ERROR_SUCCESS) {
    return Failure("cannot write \"" + name + "\" in", path, result);
  }
  return {};
}

// Brings the key at `path` from `before` (null: it did not exist) to `after`.
Status WriteKey(const std::string& path, const Key* before, const Key& after) {
  const auto unchanged = [&](const std::string& name, const Value& value) {
    return before != nullptr && Equal(before->Read(name), value);
  };
  bool changes = before == nullptr;
  for (const auto& [name, value] : after.values()) changes |= !unchanged(name, value);
  if (before != nullptr) {
    for (const auto& [name, value] : before->values()) {
      changes |= after.Read(name).type == ValueType::kAbsent;
    }
  }
  if (!changes) return {};
  OpenKey key;
  LONG result =
      ::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_READ | KEY_WRITE, nullptr, key.out(), nullptr);
  if (result != ERROR_SUCCESS) return Failure("cannot create", path, result);
  for (const auto& [name, value] : after.values()) {
    if (unchanged(name, value)) continue;
    if (value.type == ValueType::kOther) {
      return {false, "cannot write \"" + name + "\" in " + kHiveName + path +
                         ": a value of another type cannot be made"};
    }
    if (Status status = WriteValue(key.get(), path, name, value); !status.ok) return status;
  }
  if (before != nullptr) {
    for (const auto& [name, value] : before->values()) {
      if (after.Read(name).type != ValueType::kAbsent) continue;
      result = ::RegDeleteValueA(key.get(), name.c_str());
      if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND) {
        return Failure("cannot delete \"" + name + "\" in", path, result);
      }
    }
  }
  result = ::RegFlushKey(key.get());
  if (result != ERROR_SUCCESS) return Failure("cannot write", path, result);
  return {};
}

}  // namespace

WindowsRegistry::WindowsRegistry(std::vector<std::string> roots) {
  for (const std::string& root : roots) roots_.push_back(Trimmed(root));
}

Status WindowsRegistry::Load(Hive& hive) const {
  hive = Hive();
  for (const std::string& root : roots_) {
    OpenKey key;
    const LONG result = ::RegOpenKeyExA(HKEY_CURRENT_USER, root.c_str(), 0, KEY_READ, key.out());
    if (result == ERROR_FILE_NOT_FOUND) continue;
    if (result != ERROR_SUCCESS) return Failure("cannot open", root, result);
    if (Status status = LoadKey(key.get(), root, hive); !status.ok) return status;
  }
  return {};
}

UpdateResult WindowsRegistry::Update(const std::function<void(Hive&)>& change) {
  UpdateResult result;
  const auto fail = [&result](const Status& status) {
    result.ok = false;
    result.message = status.message;
    return result;
  };
  Hive before;
  if (Status loaded = Load(before); !loaded.ok) return fail(loaded);
  Hive after = before;
  try {
    change(after);
  } catch (const std::exception& e) {
    return fail({false, std::string("settings change failed: ") + e.what()});
  } catch (...) {
    return fail({false, "settings change failed"});
  }
  // Which root a key lies in; the keys above the roots only lead to them and must not change.
  const auto root_of = [this](const std::string& path) -> const std::string* {
    for (const std::string& root : roots_) {
      if (Within(path, root)) return &root;
    }
    return nullptr;
  };
  for (const auto& [path, key] : after.keys()) {
    if (root_of(path) != nullptr) continue;
    const Key* old = before.FindKey(path);
    const bool leads_to_a_root = [&] {
      for (const std::string& root : roots_) {
        if (Within(root, path)) return true;
      }
      return false;
    }();
    if (!leads_to_a_root || !key.values().empty() || (old != nullptr && !old->values().empty())) {
      return fail({false, std::string("not one of the program's keys: ") + kHiveName + path});
    }
  }
  // Deleted keys first, each with its subkeys, which follow it in name order.
  std::string deleted;
  for (const auto& [path, key] : before.keys()) {
    if (!deleted.empty() && Within(path, deleted)) continue;
    if (root_of(path) == nullptr || after.KeyExists(path)) continue;
    const LONG status = ::RegDeleteTreeA(HKEY_CURRENT_USER, key.path().c_str());
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
      return fail(Failure("cannot delete", key.path(), status));
    }
    deleted = path;
  }
  for (const auto& [path, key] : after.keys()) {
    if (root_of(path) == nullptr) continue;
    if (Status written = WriteKey(key.path(), before.FindKey(path), key); !written.ok) {
      return fail(written);
    }
  }
  return result;
}

}  // namespace numvex::registry
