#include "tape/shortcut_link.h"

namespace numvex {

namespace {

// `line` with blanks up to `length`; positions below count from 1.
std::string Padded(std::string_view line, int length) {
  std::string s(line);
  if (static_cast<int>(s.size()) < length) s.resize(static_cast<size_t>(length), ' ');
  return s;
}

char At(const std::string& s, int position) { return s[static_cast<size_t>(position - 1)]; }

}  // namespace

bool CaretInLink(std::string_view line, int x) {
  if (x < 1) return false;
  const std::string s = Padded(line, x);
  const int last = static_cast<int>(s.size());
  int p = x;
  while (p < last && At(s, p) != ']' && At(s, p) != '[') ++p;
  return At(s, p) == ']';
}

LinkPlace PlaceLink(std::string_view line, int x) {
  LinkPlace place;
  if (x < 1) x = 1;
  place.line = Padded(line, x);
  const std::string& s = place.line;
  const int last = static_cast<int>(s.size());
  // Back to the "[" of a shortcut the caret is in; a "]" first means there is none.
  place.start = x;
  for (int p = x - 1; p >= 1; --p) {
    if (At(s, p) == '[') {
      place.start = p;
      break;
    }
    if (At(s, p) == ']') break;
  }
  // On to its "]"; a "[" first means the caret is in no shortcut after all.
  int end = x;
  while (end < last) {
    if (At(s, end) == ']') break;
    if (At(s, end) == '[') {
      place.start = x;
      break;
    }
    ++end;
  }
  place.end = At(s, end) == ']' ? end : 0;
  return place;
}

std::string InsertLink(const LinkPlace& place, std::string_view path) {
  std::string s = place.line;
  const auto start = static_cast<size_t>(place.start - 1);
  if (place.end != 0) s.erase(start, static_cast<size_t>(place.end - place.start + 1));
  return s.insert(start, "[" + std::string(path) + "]");
}

}  // namespace numvex
