#pragma once

#include <string>

namespace numvex::testing {

// An amount line as the tape writes it with "." decimals: the operator in column 7, the
// amount's separator in column 19, then the comment after two blanks.
inline std::string Entry(char op, const std::string& amount, const std::string& comment = "") {
  std::string line(6, ' ');
  line.push_back(op);
  const size_t dot = amount.find('.');
  const size_t before = dot == std::string::npos ? amount.size() : dot;
  line.append(12 > before ? 12 - before : 0, ' ');
  line += amount;
  if (!comment.empty()) line += "  " + comment;
  return line;
}

inline const std::string kSep = "      ----------------";

}  // namespace numvex::testing
