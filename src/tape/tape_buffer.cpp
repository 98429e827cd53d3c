#include "tape/tape_buffer.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <utility>

namespace numvex {

MemoryTapeBuffer::MemoryTapeBuffer(const std::vector<std::string>& lines) {
  store_.reserve(lines.size());
  for (const std::string& line : lines) AppendLine(line);
}

void MemoryTapeBuffer::OutOfRange() { throw std::out_of_range("tape line out of range"); }

namespace {
constexpr size_t kTextBlock = 64 * 1024;
}  // namespace

char* MemoryTapeBuffer::TextSpace(size_t size) {
  if (dead_text_ > kTextBlock && dead_text_ > live_text_) Compact();
  if (blocks_.empty() || block_size_ - block_used_ < size) {
    block_size_ = std::max(kTextBlock, size);
    blocks_.emplace_back(new char[block_size_]);  // not zeroed: every byte is written first
    block_used_ = 0;
  }
  char* at = blocks_.back().get() + block_used_;
  block_used_ += size;
  return at;
}

// Copies the texts in use into fresh blocks and lets the old ones go.
void MemoryTapeBuffer::Compact() {
  std::vector<std::unique_ptr<char[]>> old;
  old.swap(blocks_);
  block_used_ = block_size_ = 0;
  dead_text_ = 0;
  for (size_t i = 0; i < store_.size(); ++i) {
    if (i == gap_begin_) i = gap_end_;
    if (i == store_.size()) break;
    Slot& slot = store_[i];
    if (!slot.owned || slot.size == 0) continue;
    // TextSpace does not compact again: nothing is dead now.
    char* at = TextSpace(slot.size);
    std::memcpy(at, slot.data, slot.size);
    slot.data = at;
  }
}

void MemoryTapeBuffer::Store(Slot* slot, std::string_view text) {
  Release(slot);
  if (!text.empty()) {
    char* at = TextSpace(text.size());
    std::memcpy(at, text.data(), text.size());
    slot->data = at;
  }
  slot->size = static_cast<uint32_t>(text.size());
  slot->owned = true;
  live_text_ += text.size();
}

void MemoryTapeBuffer::Release(Slot* slot) {
  if (slot->owned) {
    live_text_ -= slot->size;
    dead_text_ += slot->size;
  }
  *slot = Slot{};
}

void MemoryTapeBuffer::ReplaceLine(int line, std::string_view text) {
  Store(&At(line), text);
  ++writes_;
}

void MemoryTapeBuffer::MoveGapTo(size_t index) {
  size_t gap = gap_end_ - gap_begin_;
  if (gap == 0) {
    gap_begin_ = gap_end_ = index;
    return;
  }
  if (index < gap_begin_) {
    std::move_backward(store_.begin() + static_cast<std::ptrdiff_t>(index),
                       store_.begin() + static_cast<std::ptrdiff_t>(gap_begin_),
                       store_.begin() + static_cast<std::ptrdiff_t>(gap_end_));
  } else {
    std::move(store_.begin() + static_cast<std::ptrdiff_t>(gap_end_),
              store_.begin() + static_cast<std::ptrdiff_t>(index + gap),
              store_.begin() + static_cast<std::ptrdiff_t>(gap_begin_));
  }
  gap_begin_ = index;
  gap_end_ = index + gap;
}

void MemoryTapeBuffer::InsertLine(int before, std::string_view text) {
  if (before < 1 || before > Count() + 1) throw std::out_of_range("tape insert out of range");
  MoveGapTo(static_cast<size_t>(before - 1));
  if (gap_begin_ == gap_end_) {
    // Grow the gap in proportion to the document, so a pass that inserts many
    // lines moves each line only a bounded number of times.
    size_t grow = std::max<size_t>(16, store_.size() / 4);
    store_.insert(store_.begin() + static_cast<std::ptrdiff_t>(gap_begin_), grow, Slot{});
    gap_end_ = gap_begin_ + grow;
  }
  Slot& slot = store_[gap_begin_++];
  slot = Slot{};  // gap slots may still name texts that moved on with their lines
  Store(&slot, text);
  ++writes_;
}

void MemoryTapeBuffer::DeleteLine(int line) {
  if (line < 1 || line > Count()) throw std::out_of_range("tape delete out of range");
  MoveGapTo(static_cast<size_t>(line));
  --gap_begin_;
  Release(&store_[gap_begin_]);
  ++writes_;
}

void MemoryTapeBuffer::SetCaretPos(int line, int column) {
  caret_line_ = line;
  caret_column_ = column;
}

void MemoryTapeBuffer::Adopt(std::string bytes) {
  auto holder = std::make_shared<std::string>(std::move(bytes));
  size_t size = holder->size();
  Adopt(std::shared_ptr<const char[]>(holder, holder->data()), size);
}

void MemoryTapeBuffer::Adopt(std::shared_ptr<const char[]> bytes, size_t size) {
  base_ = std::move(bytes);
  base_size_ = size;
  store_.clear();
  gap_begin_ = gap_end_ = 0;
  // One block stays for the next document's texts.
  if (blocks_.size() > 1) blocks_.erase(blocks_.begin(), blocks_.end() - 1);
  block_used_ = 0;
  live_text_ = dead_text_ = 0;
  caret_line_ = 1;
  caret_column_ = 0;
  modified_ = false;
  writes_ = 0;
}

void MemoryTapeBuffer::AdoptView(std::string_view bytes) {
  // No owner: the caller keeps the bytes.
  Adopt(std::shared_ptr<const char[]>(std::shared_ptr<const char[]>(), bytes.data()), bytes.size());
}

void MemoryTapeBuffer::AddLoadedLineAfterEdits(size_t offset, size_t length) {
  MoveGapTo(static_cast<size_t>(Count()));
  Slot slot{base_.get() + offset, static_cast<uint32_t>(length), false};
  if (gap_begin_ == gap_end_) {
    store_.push_back(slot);
    gap_begin_ = gap_end_ = store_.size();
  } else {
    store_[gap_begin_++] = slot;
  }
}

void MemoryTapeBuffer::AppendLine(std::string_view text) {
  MoveGapTo(static_cast<size_t>(Count()));
  if (gap_begin_ == gap_end_) {
    store_.emplace_back();
    gap_begin_ = gap_end_ = store_.size();
    Store(&store_.back(), text);
  } else {
    Slot& slot = store_[gap_begin_++];
    slot = Slot{};  // gap slots may still name texts that moved on with their lines
    Store(&slot, text);
  }
}

std::vector<std::string> MemoryTapeBuffer::Lines() const {
  std::vector<std::string> lines;
  lines.reserve(static_cast<size_t>(LineCount()));
  for (int i = 1; i <= LineCount(); ++i) lines.emplace_back(Line(i));
  return lines;
}

std::string MemoryTapeBuffer::Text() const {
  std::string text;
  for (int i = 1; i <= LineCount(); ++i) {
    if (i > 1) text += '\n';
    text += Line(i);
  }
  return text;
}

void MemoryTapeBuffer::UserReplaceLine(int line, std::string_view text) {
  Store(&At(line), text);
  modified_ = true;
}

}  // namespace numvex
