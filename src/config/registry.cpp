#include "config/registry.h"

#include <algorithm>
#include <vector>

namespace numvex::registry {
namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";
constexpr std::string_view kRoot = "HKEY_CURRENT_USER\\";

int Rank(char c) {
  if (c == '\\') return 0;
  const unsigned char u = static_cast<unsigned char>(c);
  return 1 + ((u >= 'A' && u <= 'Z') ? u + ('a' - 'A') : u);
}

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return Rank(x) == Rank(y); });
}

// Drops empty components, so "\\a\\\\b\\" names the key "a\\b".
std::string Normalise(std::string_view path) {
  std::string out;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string_view::npos) end = path.size();
    if (end > start) {
      if (!out.empty()) out += '\\';
      out.append(path.substr(start, end - start));
    }
    start = end + 1;
  }
  return out;
}

bool Storable(std::string_view path) {
  return !path.empty() && path.find_first_of("\r\n") == std::string_view::npos;
}

void AppendQuoted(std::string& out, std::string_view text) {
  out += '"';
  for (char c : text) {
    // Line breaks get escapes of their own so that a value always stays on one line.
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else {
      if (c == '\\' || c == '"') out += '\\';
      out += c;
    }
  }
  out += '"';
}

// Reads the quoted text that starts at `pos`, leaving `pos` after the closing quote.
bool ReadQuoted(std::string_view line, size_t& pos, std::string& out, std::string& why) {
  out.clear();
  if (pos >= line.size() || line[pos] != '"') {
    why = "expected an opening quote";
    return false;
  }
  for (++pos; pos < line.size(); ++pos) {
    const char c = line[pos];
    if (c == '"') {
      ++pos;
      return true;
    }
    if (c != '\\') {
      out += c;
      continue;
    }
    if (++pos == line.size()) break;
    switch (line[pos]) {
      case '\\':
      case '"':
        out += line[pos];
        break;
      case 'n':
        out += '\n';
        break;
      case 'r':
        out += '\r';
        break;
      default:
        why = std::string("unknown escape \\") + line[pos];
        return false;
    }
  }
  why = "missing closing quote";
  return false;
}

bool ReadDword(std::string_view digits, uint32_t& dword) {
  if (digits.size() != 8) return false;
  dword = 0;
  for (char c : digits) {
    int digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      return false;
    }
    dword = dword << 4 | static_cast<uint32_t>(digit);
  }
  return true;
}

// One line after the header; `key` is the key the values go to.
bool ParseLine(std::string_view line, Hive& hive, Key*& key, std::string& why) {
  if (line.empty()) return true;
  if (line.front() == '[') {
    if (line.back() != ']') {
      why = "key line without closing bracket";
      return false;
    }
    const std::string_view inner = line.substr(1, line.size() - 2);
    if (inner.size() <= kRoot.size() || !SameName(inner.substr(0, kRoot.size()), kRoot)) {
      why = "key not under HKEY_CURRENT_USER";
      return false;
    }
    key = hive.OpenKey(inner.substr(kRoot.size()), true);
    if (key == nullptr) why = "key path empty or broken by a line break";
    return key != nullptr;
  }
  if (line.front() != '"' && line.front() != '@') {
    why = "unknown line";
    return false;
  }
  if (key == nullptr) {
    why = "value before any key";
    return false;
  }
  std::string name;
  size_t pos = line.front() == '@' ? 1 : 0;
  if (pos == 0 && !ReadQuoted(line, pos, name, why)) return false;
  if (pos >= line.size() || line[pos] != '=') {
    why = "expected = after the value name";
    return false;
  }
  const std::string_view data = line.substr(pos + 1);
  constexpr std::string_view kDword = "dword:";
  if (data.substr(0, kDword.size()) == kDword) {
    uint32_t dword;
    if (!ReadDword(data.substr(kDword.size()), dword)) {
      why = "a dword needs 8 hex digits";
      return false;
    }
    key->WriteDword(name, dword);
    return true;
  }
  std::string text;
  size_t end = 0;
  if (!ReadQuoted(data, end, text, why)) return false;
  if (end != data.size()) {
    why = "text after the closing quote";
    return false;
  }
  key->WriteText(name, text);
  return true;
}

}  // namespace

bool NameLess::operator()(std::string_view a, std::string_view b) const {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return Rank(x) < Rank(y); });
}

Value Key::Read(std::string_view name) const {
  const auto it = values_.find(std::string(name));
  return it == values_.end() ? Value{} : it->second;
}

void Key::Write(std::string_view name, Value value) {
  values_[std::string(name)] = std::move(value);
}

void Key::WriteText(std::string_view name, std::string_view text) {
  values_[std::string(name)] = Value{ValueType::kText, std::string(text), 0};
}

void Key::WriteDword(std::string_view name, uint32_t dword) {
  values_[std::string(name)] = Value{ValueType::kDword, "", dword};
}

bool Key::DeleteValue(std::string_view name) { return values_.erase(std::string(name)) > 0; }

Key* Hive::OpenKey(std::string_view path, bool create) {
  const std::string norm = Normalise(path);
  if (!Storable(norm)) return nullptr;
  if (!create) {
    const auto it = keys_.find(norm);
    return it == keys_.end() ? nullptr : &it->second;
  }
  Key* key = nullptr;
  for (size_t end = norm.find('\\');; end = norm.find('\\', end + 1)) {
    const std::string prefix = norm.substr(0, end);
    key = &keys_.try_emplace(prefix, prefix).first->second;
    if (end == std::string::npos) return key;
  }
}

const Key* Hive::FindKey(std::string_view path) const {
  const auto it = keys_.find(Normalise(path));
  return it == keys_.end() ? nullptr : &it->second;
}

bool Hive::KeyExists(std::string_view path) const { return FindKey(path) != nullptr; }

bool Hive::DeleteKey(std::string_view path) {
  const std::string norm = Normalise(path);
  auto it = keys_.find(norm);
  if (norm.empty() || it == keys_.end()) return false;
  // Subkeys sort directly after their key, the separator ranking below every other byte.
  const auto below = [&](const std::string& k) {
    return k.size() > norm.size() && k[norm.size()] == '\\' &&
           SameName(std::string_view(k).substr(0, norm.size()), norm);
  };
  auto last = std::next(it);
  while (last != keys_.end() && below(last->first)) ++last;
  keys_.erase(it, last);
  return true;
}

std::string WriteReg(const Hive& hive) {
  std::string out(kHeader);
  out += "\r\n\r\n";
  for (const auto& [path, key] : hive.keys()) {
    out += "[";
    out += kRoot;
    out += key.path() + "]\r\n";
    for (const auto& [name, value] : key.values()) {
      if (value.type == ValueType::kOther) continue;
      if (name.empty()) {
        out += '@';
      } else {
        AppendQuoted(out, name);
      }
      out += '=';
      if (value.type == ValueType::kDword) {
        static constexpr char kHex[] = "0123456789abcdef";
        out += "dword:";
        for (int shift = 28; shift >= 0; shift -= 4) out += kHex[(value.dword >> shift) & 0xF];
      } else {
        AppendQuoted(out, value.text);
      }
      out += "\r\n";
    }
    out += "\r\n";
  }
  return out;
}

Status ParseReg(std::string_view text, Hive& hive) {
  hive = Hive();
  Key* key = nullptr;
  size_t number = 0;
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    ++number;
    std::string why;
    if (number == 1 && line != kHeader) why = "missing header";
    if (!why.empty() || (number > 1 && !ParseLine(line, hive, key, why)))
      return {false, "line " + std::to_string(number) + ": " + why};
  }
  if (number == 0) return {false, "line 1: missing header"};
  return {};
}

}  // namespace numvex::registry
