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

// A buffer in memory, for tests, the command-line tool and a document's recalculation
// before it goes into the editor. A loaded document stays one block of bytes that the
// lines view; lines written since keep their text in blocks of the buffer's own (a line
// is not a heap allocation of its own), and the space of replaced texts is reclaimed once
// it outweighs the texts in use. The lines live in a gap buffer, so the engine's
// top-to-bottom inserts during a whole-tape pass cost O(1) each instead of moving every
// line below.
class MemoryTapeBuffer : public TapeBuffer {
 public:
  MemoryTapeBuffer() = default;
  explicit MemoryTapeBuffer(const std::vector<std::string>& lines);
  MemoryTapeBuffer(const MemoryTapeBuffer&) = delete;
  MemoryTapeBuffer& operator=(const MemoryTapeBuffer&) = delete;
  MemoryTapeBuffer(MemoryTapeBuffer&&) = default;
  MemoryTapeBuffer& operator=(MemoryTapeBuffer&&) = default;

  int LineCount() const override { return Count(); }
  std::string_view Line(int line) const override { return At(line).text(); }
  void ReplaceLine(int line, std::string_view text) override;
  void InsertLine(int before, std::string_view text) override;
  void DeleteLine(int line) override;
  int CaretLine() const override { return caret_line_; }
  int CaretColumn() const override { return caret_column_; }
  void SetCaretPos(int line, int column) override;
  bool Modified() const override { return modified_; }
  void SetModified(bool modified) override { modified_ = modified; }

  // Empties the buffer and takes the bytes of a document, which AddLoadedLine then
  // cuts into lines without copying them. The memory the buffer has is kept for the new
  // document, and WriteCount starts again from 0.
  void Adopt(std::string bytes);
  void Adopt(std::shared_ptr<const char[]> bytes, size_t size);
  // The same for bytes the caller keeps alive and unchanged while the buffer is in use.
  void AdoptView(std::string_view bytes);
  std::string_view AdoptedBytes() const { return {base_.get(), base_size_}; }
  // Appends a line viewing [offset, offset+length) of the adopted bytes.
  void AddLoadedLine(size_t offset, size_t length) {
    if (gap_begin_ == store_.size()) {  // loading: no gap, one slot per line
      store_.push_back(Slot{base_.get() + offset, static_cast<uint32_t>(length), false});
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
    bool owned = false;  // the text lies in the buffer's blocks, not in the loaded bytes
    std::string_view text() const { return {data, size}; }
  };
  int Count() const { return static_cast<int>(store_.size() - (gap_end_ - gap_begin_)); }
  Slot& At(int line) {
    if (line < 1 || line > Count()) OutOfRange();
    const size_t index = static_cast<size_t>(line - 1);
    return store_[index < gap_begin_ ? index : index + (gap_end_ - gap_begin_)];
  }
  const Slot& At(int line) const { return const_cast<MemoryTapeBuffer*>(this)->At(line); }
  [[noreturn]] static void OutOfRange();
  void AddLoadedLineAfterEdits(size_t offset, size_t length);
  void MoveGapTo(size_t index);
  void Store(Slot* slot, std::string_view text);
  void Release(Slot* slot);
  // Room for `size` bytes of line text; may compact the texts in use first.
  char* TextSpace(size_t size);
  void Compact();

  std::shared_ptr<const char[]> base_;
  size_t base_size_ = 0;
  // Line texts written since loading, packed into blocks; the last block is being filled.
  std::vector<std::unique_ptr<char[]>> blocks_;
  size_t block_used_ = 0;
  size_t block_size_ = 0;
  size_t live_text_ = 0;  // bytes of owned texts lines still show
  size_t dead_text_ = 0;  // bytes of owned texts replaced or deleted since
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
