#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "common/tape_text.h"
#include "tape/tape_engine.h"

namespace numvex::testing {

// Records what the engine asks of its host.
class RecordingHost : public TapeHost {
 public:
  void DivisionByZero(int line) override { division_lines.push_back(line); }
  void BeginBusy() override { ++busy_begins; }
  void EndBusy() override { ++busy_ends; }

  std::vector<int> division_lines;
  int busy_begins = 0;
  int busy_ends = 0;
};

// An engine over a memory buffer with "." and "," as separators, two decimals and
// results not rounded.
class TapeFixture : public ::testing::Test {
 protected:
  TapeFixture() : engine(buffer, host) { InitTapeArithmetic(); }

  void Use(int decimals, bool round_results) {
    engine.SetSettings({decimals, round_results, {'.', ','}});
  }

  void Load(std::initializer_list<const char*> lines) {
    buffer = MemoryTapeBuffer(std::vector<std::string>(lines.begin(), lines.end()));
  }
  void Load(const std::vector<std::string>& lines) { buffer = MemoryTapeBuffer(lines); }
  std::vector<std::string> Lines() const { return buffer.Lines(); }
  std::string LineAt(int line) const { return std::string(buffer.Line(line)); }

  MemoryTapeBuffer buffer;
  RecordingHost host;
  TapeEngine engine;
};

// A tape written on one line: its lines separated by "|".
inline std::vector<std::string> Tape(std::string_view compact) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t bar; (bar = compact.find('|', start)) != std::string_view::npos; start = bar + 1) {
    lines.emplace_back(compact.substr(start, bar - start));
  }
  lines.emplace_back(compact.substr(start));
  return lines;
}

// A tape as the engine writes it, in short: "+45.00  rent" stands for the canonical entry
// line, "---" for the separator line; other lines stand for themselves.
inline std::vector<std::string> Written(std::string_view compact) {
  std::vector<std::string> lines = Tape(compact);
  for (std::string& line : lines) {
    if (line == "---") {
      line = kSep;
    } else if (line.size() > 1 && IsOperatorByte(line[0]) &&
               ((line[1] >= '0' && line[1] <= '9') || line[1] == '-')) {
      const size_t gap = line.find("  ");
      line = Entry(line[0], line.substr(1, gap == std::string::npos ? gap : gap - 1),
                   gap == std::string::npos ? "" : line.substr(gap + 2));
    }
  }
  return lines;
}

}  // namespace numvex::testing
