#include "tape/tape_buffer.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace numvex {

MemoryTapeBuffer::MemoryTapeBuffer(std::vector<std::string> lines)
    : store_(std::move(lines)), gap_begin_(store_.size()), gap_end_(store_.size()) {}

int MemoryTapeBuffer::LineCount() const {
  return static_cast<int>(store_.size() - (gap_end_ - gap_begin_));
}

std::string& MemoryTapeBuffer::At(int line) {
  if (line < 1 || line > LineCount()) throw std::out_of_range("tape line out of range");
  size_t index = static_cast<size_t>(line - 1);
  return store_[index < gap_begin_ ? index : index + (gap_end_ - gap_begin_)];
}

const std::string& MemoryTapeBuffer::At(int line) const {
  return const_cast<MemoryTapeBuffer*>(this)->At(line);
}

std::string_view MemoryTapeBuffer::Line(int line) const { return At(line); }

void MemoryTapeBuffer::ReplaceLine(int line, std::string_view text) {
  At(line).assign(text.data(), text.size());
  ++writes_;
}

void MemoryTapeBuffer::MoveGapTo(size_t index) {
  size_t gap = gap_end_ - gap_begin_;
  if (gap == 0) {
    gap_begin_ = gap_end_ = index;
    return;
  }
  if (index < gap_begin_) {
    for (size_t i = gap_begin_; i > index; --i) store_[i - 1 + gap] = std::move(store_[i - 1]);
  } else {
    for (size_t i = gap_begin_; i < index; ++i) store_[i] = std::move(store_[i + gap]);
  }
  gap_begin_ = index;
  gap_end_ = index + gap;
}

void MemoryTapeBuffer::InsertLine(int before, std::string_view text) {
  if (before < 1 || before > LineCount() + 1) throw std::out_of_range("tape insert out of range");
  MoveGapTo(static_cast<size_t>(before - 1));
  if (gap_begin_ == gap_end_) {
    // Grow the gap in proportion to the document, so a pass that inserts many
    // lines moves each line only a bounded number of times.
    size_t grow = std::max<size_t>(16, store_.size() / 4);
    store_.insert(store_.begin() + static_cast<std::ptrdiff_t>(gap_begin_), grow, std::string());
    gap_end_ = gap_begin_ + grow;
  }
  store_[gap_begin_].assign(text.data(), text.size());
  ++gap_begin_;
  ++writes_;
}

void MemoryTapeBuffer::DeleteLine(int line) {
  if (line < 1 || line > LineCount()) throw std::out_of_range("tape delete out of range");
  MoveGapTo(static_cast<size_t>(line));
  --gap_begin_;
  std::string().swap(store_[gap_begin_]);
  ++writes_;
}

void MemoryTapeBuffer::SetCaretPos(int line, int column) {
  caret_line_ = line;
  caret_column_ = column;
}

void MemoryTapeBuffer::AppendLine(std::string text) {
  MoveGapTo(static_cast<size_t>(LineCount()));
  if (gap_begin_ == gap_end_) {
    store_.push_back(std::move(text));
    gap_begin_ = gap_end_ = store_.size();
  } else {
    store_[gap_begin_++] = std::move(text);
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
  At(line).assign(text.data(), text.size());
  modified_ = true;
}

}  // namespace numvex
