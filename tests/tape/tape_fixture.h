#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "common/tape_text.h"
#include "tape/tape_engine.h"

namespace numvex::testing {

// Records what the engine asks of its host.
class RecordingHost : public TapeHost {
 public:
  void DivisionByZero(int line) override { division_lines.push_back(line); }
  void DocModifiedChanged(bool modified) override { modified_changes.push_back(modified); }
  void BeginBusy() override { ++busy_begins; }
  void EndBusy() override { ++busy_ends; }

  std::vector<int> division_lines;
  std::vector<bool> modified_changes;
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

}  // namespace numvex::testing
