#pragma once

// The current user's registry hive held in memory, and its `.reg` text form.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace numvex::registry {

struct Status {
  bool ok = true;
  std::string message;  // says what went wrong when !ok
};

// kOther: a value of a type the program neither reads nor writes (binary, several texts, a
// quad word ...). Only the native Windows registry reports one; the text form has none.
enum class ValueType { kAbsent, kText, kDword, kOther };

struct Value {
  ValueType type = ValueType::kAbsent;
  std::string text;  // bytes, Windows-1252
  uint32_t dword = 0;
};

// Orders names as the registry compares them: ASCII letters without case, and a path
// separator before every other byte so that a key's subkeys follow it directly.
struct NameLess {
  bool operator()(std::string_view a, std::string_view b) const;
};

class Key {
 public:
  explicit Key(std::string path) : path_(std::move(path)) {}
  const std::string& path() const { return path_; }

  // The empty name is the key's default value.
  Value Read(std::string_view name) const;
  void WriteText(std::string_view name, std::string_view text);
  void WriteDword(std::string_view name, uint32_t dword);
  void Write(std::string_view name, Value value);
  // Returns whether there was such a value.
  bool DeleteValue(std::string_view name);
  const std::map<std::string, Value, NameLess>& values() const { return values_; }

 private:
  std::string path_;  // spelled as when created
  std::map<std::string, Value, NameLess> values_;
};

class Hive {
 public:
  // A path like "Software\\zel\\Numvex 3.0\\Options", letters in any case. Creating makes the
  // missing parents too. Null for a missing key without `create`, or for an empty path or one
  // with a line break, which the text form could not hold. The pointer lives until a
  // DeleteKey removes the key.
  Key* OpenKey(std::string_view path, bool create);
  const Key* FindKey(std::string_view path) const;
  bool KeyExists(std::string_view path) const;
  // Removes the key and all its subkeys; returns whether it existed.
  bool DeleteKey(std::string_view path);
  const std::map<std::string, Key, NameLess>& keys() const { return keys_; }

 private:
  std::map<std::string, Key, NameLess> keys_;  // by normalised path
};

// The `.reg` text, keys and values in name order, lines ending in CR LF; values of another
// type are left out.
std::string WriteReg(const Hive& hive);
// Replaces `hive` by the keys of `text`; on an error `hive` holds what came before the bad
// line and the message names the line.
Status ParseReg(std::string_view text, Hive& hive);

}  // namespace numvex::registry
