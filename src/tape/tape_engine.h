#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "tape/amount.h"
#include "tape/line_kind.h"
#include "tape/tape_buffer.h"
#include "tape/tape_host.h"
#include "tape/tape_line.h"

namespace numvex {

struct CaretPos {
  int line = 1;    // 1-based
  int column = 0;  // 0-based
};

// What the tape is written with. The host hands the engine its settings whenever they
// change; the decimals are clamped to 0..9 on use.
struct TapeSettings {
  int decimals = 2;
  bool round_results = false;
  Separators seps;
};

// Who asked for a total: the "=" key of the keypad, or Enter in the editor (which has
// already broken the line).
enum class TotalSender { Keypad, Editor };

// The tape engine: reads, formats and recalculates the tape held in a TapeBuffer and
// turns keypad and keyboard input into tape lines. It holds the window state the tape
// needs; the window (or the command-line tool) only hosts it.
class TapeEngine {
 public:
  TapeEngine(TapeBuffer& buffer, TapeHost& host);

  // State shared with the window.
  bool CalcMode = true;
  char LastKeyChar = 0;  // 0: none yet

  void SetSettings(const TapeSettings& settings) { settings_ = settings; }
  const TapeSettings& Settings() const { return settings_; }
  const Separators& Seps() const { return settings_.seps; }

  bool DocModified() const { return doc_modified_; }
  void SetDocModified(bool modified);
  int LastCaretLine() const { return last_caret_line_; }
  int LastLineCount() const { return last_line_count_; }

  LineKind KindOf(int line) const;  // lkEmpty outside the document

  // Reads an amount line, rewrites it in canonical layout and returns what it
  // contributes. The amount returned is the one the rewritten text reads back, so a
  // recalculation works with exactly the amounts the tape shows.
  TapeEntry ReformatEntryLine(int line);

  // Recalculation.
  int RecalcBlock(int line);
  void RecalcAll();
  void RecalcOnCaretLeave();
  void ResetTapeView();

  // Caret.
  CaretPos GetCaret() const;
  // Within the line: a column past its end places the caret at the end.
  void SetCaret(int line, int column);

  // Keypad and keyboard entry.
  void OperatorTyped();
  void TotalAt(TotalSender sender);
  void ClearKey();
  // The command line between "[" and "]" around the caret, or empty when the caret
  // is not inside a bracketed link.
  std::string LinkAtCaret() const;

  TapeBuffer& Buffer() { return buffer_; }

 private:
  std::string_view GetTapeLine(int line) const;  // trimmed; empty outside the document
  void SetTapeLine(int line, std::string_view text);
  void WriteSeparatorLine(int line);
  bool IsOperatorChar(char c) const { return CalcMode && IsOperatorByte(c); }

  struct BlockResult {
    int resume;   // where a whole-tape scan goes on (what RecalcBlock returns)
    int run_end;  // first line after the run, 0 when nothing was computed
  };
  // A line's kind and, for an amount line in canonical layout, what it contributes:
  // found in one pass over the line instead of a classification and a read.
  struct LineLook {
    LineKind kind = lkEmpty;
    bool canonical = false;  // entry holds what ReformatEntryLine would return
    // An amount line in the typed form: entry and read hold what ReadEntry reads, but the
    // comment is kept as where it lies in the line, whose text may move before it is used.
    bool typed = false;
    TapeEntry entry;
    DecimalAmount read;
    uint32_t comment_offset = 0;
    uint32_t comment_size = 0;
  };
  void Look(int line, LineLook* look) const;
  // ReformatEntryLine for a line looked at since its last change.
  TapeEntry TakeEntry(int line, const LineLook& look);
  // ReformatEntryLine without the check for a canonical line.
  TapeEntry RewriteEntryLine(int line);
  // Writes the entry of a typed line that `look` read.
  TapeEntry WriteTypedLine(int line, const LineLook& look);
  // at_run_start: the caller knows `line` is the first line of its run; `first`, when given,
  // is the look at it.
  BlockResult RecalcRun(int line, bool at_run_start, const LineLook* first = nullptr);
  // Writes a result into `line`, or inserts it there, in the entry form it is read back in;
  // returns whether it inserted. *look: the look at the written line.
  bool WriteResult(int line, Amount value, bool insert, LineLook* look);
  int Decimals() const;

  TapeBuffer& buffer_;
  TapeHost& host_;
  TapeSettings settings_;
  bool doc_modified_ = false;
  int last_caret_line_ = 0;
  int last_line_count_ = 0;
  std::string scratch_;      // reused for every formatted line
  std::string result_text_;  // reused for every result line
};

// Sets the floating-point unit to extended precision and round-to-nearest, once at
// program start.
void InitTapeArithmetic();

}  // namespace numvex
