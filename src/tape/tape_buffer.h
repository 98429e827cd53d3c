#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "tape/large_block.h"

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

// A buffer in memory, for tests and the command-line tool. A loaded document stays
// one block of bytes that the lines view; only lines written since own their text.
// The lines live in a gap buffer, so the engine's top-to-bottom inserts during a
// whole-tape pass cost O(1) each instead of moving every line below.
class MemoryTapeBuffer : public TapeBuffer {
 public:
  MemoryTapeBuffer() = default;
  explicit MemoryTapeBuffer(const std::vector<std::string>& lines);
  MemoryTapeBuffer(const MemoryTapeBuffer&) = delete;
  MemoryTapeBuffer& operator=(const MemoryTapeBuffer&) = delete;
  MemoryTapeBuffer(MemoryTapeBuffer&&) = default;
  MemoryTapeBuffer& operator=(MemoryTapeBuffer&&) = default;

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

  // Empties the buffer and takes the bytes of a document, which AddLoadedLine then
  // cuts into lines without copying them.
  void Adopt(std::string bytes);
  void Adopt(std::shared_ptr<const char[]> bytes, size_t size);
  std::string_view AdoptedBytes() const { return {base_.get(), base_size_}; }
  // Appends a line viewing [offset, offset+length) of the adopted bytes.
  void AddLoadedLine(size_t offset, size_t length) {
    if (gap_begin_ == store_.size()) {  // loading: no gap, one slot per line
      store_.push_back(Slot{base_.get() + offset, static_cast<uint32_t>(length), -1});
      gap_begin_ = gap_end_ = store_.size();
    } else {
      AddLoadedLineAfterEdits(offset, length);
    }
  }
  void Reserve(size_t lines) { store_.reserve(lines); }

  // Test and tool helpers.
  void AppendLine(std::string_view text);
  std::vector<std::string> Lines() const;
  std::string Text() const;  // lines joined with "\n", no final break
  // Simulates a user edit of a whole line: replaces it and sets the modified flag.
  void UserReplaceLine(int line, std::string_view text);
  // Number of engine writes (replace, insert, delete) since construction.
  long WriteCount() const { return writes_; }

 private:
  // 16 bytes a line: a document of millions of lines stays a small multiple of its bytes.
  struct Slot {
    const char* data = nullptr;
    uint32_t size = 0;
    int32_t owned = -1;  // index into owned_, or -1 when the text views the loaded bytes
    std::string_view text() const { return {data, size}; }
  };
  Slot& At(int line);
  const Slot& At(int line) const;
  void AddLoadedLineAfterEdits(size_t offset, size_t length);
  void MoveGapTo(size_t index);
  void Store(Slot* slot, std::string_view text);
  void Release(Slot* slot);

  std::shared_ptr<const char[]> base_;
  size_t base_size_ = 0;
  std::deque<std::string> owned_;  // a deque never moves its strings
  std::vector<int> free_owned_;
  // A large document's table fills many megabytes at once: huge pages spare most of
  // the page faults.
  std::vector<Slot, LargeBlockAllocator<Slot>> store_;
  size_t gap_begin_ = 0;  // slots [gap_begin_, gap_end_) are unused
  size_t gap_end_ = 0;
  int caret_line_ = 1;
  int caret_column_ = 0;
  bool modified_ = false;
  long writes_ = 0;
};

}  // namespace numvex
