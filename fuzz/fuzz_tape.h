#pragma once

// A tape buffer for the engine targets that checks every engine write as it happens: a line
// the engine rewrites is an amount or separator line (or the empty line under a separator,
// which takes the result), what it writes or inserts is one as well, and it deletes a line
// only for the clear key, only that key's empty caret line.

#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "tape/line_kind.h"
#include "tape/tape_buffer.h"
#include "tape/tape_engine.h"

namespace numvex::fuzz {

class CheckedBuffer : public TapeBuffer {
 public:
  CheckedBuffer(const std::vector<std::string>& lines, const Separators& seps)
      : lines_(lines), seps_(seps) {}

  int LineCount() const override { return lines_.LineCount(); }
  std::string_view Line(int line) const override { return lines_.Line(line); }
  void ReplaceLine(int line, std::string_view text) override {
    FUZZ_CHECK(line >= 1 && line <= LineCount());
    if (line == clearing_ && text.empty()) {
      lines_.ReplaceLine(line, text);
      return;
    }
    const LineKind kind = Kind(line);
    FUZZ_CHECK(IsRunKind(kind) || (kind == lkEmpty && Kind(line - 1) == lkSeparator));
    FUZZ_CHECK(IsRunKind(ClassifyLine(TrimTape(text), seps_)));
    lines_.ReplaceLine(line, text);
  }
  void InsertLine(int before, std::string_view text) override {
    FUZZ_CHECK(before >= 1 && before <= LineCount() + 1);
    const LineKind kind = ClassifyLine(TrimTape(text), seps_);
    FUZZ_CHECK(kind == lkEmpty || IsRunKind(kind));
    lines_.InsertLine(before, text);
  }
  void DeleteLine(int line) override {
    FUZZ_CHECK(line == clearing_ && Line(line).empty());
    lines_.DeleteLine(line);
  }
  int CaretLine() const override { return lines_.CaretLine(); }
  int CaretColumn() const override { return lines_.CaretColumn(); }
  void SetCaretPos(int line, int column) override { lines_.SetCaretPos(line, column); }
  bool Modified() const override { return lines_.Modified(); }
  void SetModified(bool modified) override { lines_.SetModified(modified); }

  // The user's edits, which no check applies to.
  MemoryTapeBuffer& User() { return lines_; }
  // The clear key may empty and delete this line (0: none).
  void AllowClearing(int line) { clearing_ = line; }

  void CheckCaret() const {
    FUZZ_CHECK(CaretLine() >= 1 && CaretLine() <= LineCount());
    FUZZ_CHECK(CaretColumn() >= 0 && CaretColumn() <= static_cast<int>(Line(CaretLine()).size()));
  }

 private:
  LineKind Kind(int line) const {
    return line < 1 || line > LineCount() ? lkEmpty : ClassifyLine(TrimTape(Line(line)), seps_);
  }

  MemoryTapeBuffer lines_;
  Separators seps_;
  int clearing_ = 0;
};

class CheckedHost : public TapeHost {
 public:
  explicit CheckedHost(const TapeBuffer& buffer) : buffer_(buffer) {}
  void DivisionByZero(int line) override { FUZZ_CHECK(line >= 1 && line <= buffer_.LineCount()); }

 private:
  const TapeBuffer& buffer_;
};

// Settings from one byte: the separator convention, 0 to 9 decimals, rounded results or not.
inline TapeSettings SettingsOf(uint8_t byte) {
  TapeSettings settings;
  settings.seps = byte & 1 ? Separators{',', '.'} : Separators{'.', ','};
  settings.decimals = (byte >> 1) % 10;
  settings.round_results = (byte & 0x80) != 0;
  return settings;
}

// The lines of a document's bytes (a line break never stands inside a line); at least one.
inline std::vector<std::string> TapeLines(std::string_view text) {
  std::vector<std::string> lines(1);
  for (char c : text) {
    if (c == '\n' || c == '\r') {
      lines.emplace_back();
    } else {
      lines.back() += c;
    }
  }
  return lines;
}

}  // namespace numvex::fuzz
