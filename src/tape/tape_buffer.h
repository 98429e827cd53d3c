#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace numvex {

// The text the tape engine reads and rewrites; lines count from 1. Lines are bytes
// without their line break. The engine's own writes through this interface are not
// user edits: they do not raise the editor's change event, do not set its modified
// flag, are not undo steps and leave the caret at the same line number and column.
class TapeBuffer {
 public:
  virtual ~TapeBuffer() = default;

  virtual int LineCount() const = 0;
  // The bytes of a line; valid until the next call that reads or changes the buffer.
  virtual std::string_view Line(int line) const = 0;
  virtual void ReplaceLine(int line, std::string_view text) = 0;
  // Inserts a new line so that it becomes line `before`; LineCount()+1 appends.
  virtual void InsertLine(int before, std::string_view text) = 0;
  virtual void DeleteLine(int line) = 0;

  // Caret: 1-based line, 0-based column.
  virtual int CaretLine() const = 0;
  virtual int CaretColumn() const = 0;
  // Places the caret and keeps it visible.
  virtual void SetCaretPos(int line, int column) = 0;

  // The editor's own modified flag: set by user edits, read and cleared by the engine.
  virtual bool Modified() const = 0;
  virtual void SetModified(bool modified) = 0;
  virtual void Repaint() {}
};

// A buffer in memory, for tests and the command-line tool. Lines live in a gap
// buffer, so the engine's top-to-bottom inserts during a whole-tape pass cost O(1)
// each instead of moving every line below.
class MemoryTapeBuffer : public TapeBuffer {
 public:
  MemoryTapeBuffer() = default;
  explicit MemoryTapeBuffer(std::vector<std::string> lines);

  int LineCount() const override;
  std::string_view Line(int line) const override;
  void ReplaceLine(int line, std::string_view text) override;
  void InsertLine(int before, std::string_view text) override;
  void DeleteLine(int line) override;
  int CaretLine() const override { return caret_line_; }
  int CaretColumn() const override { return caret_column_; }
  void SetCaretPos(int line, int column) override;
  bool Modified() const override { return modified_; }
  void SetModified(bool modified) override { modified_ = modified; }

  // Test and tool helpers.
  void AppendLine(std::string text);
  std::vector<std::string> Lines() const;
  std::string Text() const;  // lines joined with "\n", no final break
  // Simulates a user edit of a whole line: replaces it and sets the modified flag.
  void UserReplaceLine(int line, std::string_view text);
  // Number of engine writes (replace, insert, delete) since construction.
  long WriteCount() const { return writes_; }

 private:
  std::string& At(int line);
  const std::string& At(int line) const;
  void MoveGapTo(size_t index);

  std::vector<std::string> store_;
  size_t gap_begin_ = 0;  // lines [gap_begin_, gap_end_) of store_ are unused
  size_t gap_end_ = 0;
  int caret_line_ = 1;
  int caret_column_ = 0;
  bool modified_ = false;
  long writes_ = 0;
};

}  // namespace numvex
