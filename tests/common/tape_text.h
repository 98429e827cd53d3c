#pragma once

#include <string>

namespace numvex::testing {

// A canonical entry line with "." decimals and two decimal places, for readable
// expectations: the amount is aligned on its decimal point.
inline std::string Entry(char op, const std::string& amount, const std::string& comment = "") {
  std::string line(6, ' ');
  line.push_back(op);
  size_t dot = amount.find('.');
  size_t before = dot == std::string::npos ? amount.size() : dot;
  line.append(12 > before ? 12 - before : 0, ' ');
  line += amount;
  if (!comment.empty()) line += "  " + comment;
  return line;
}

// The separator line for two decimal places.
inline const std::string kSep = "      ----------------";

}  // namespace numvex::testing
