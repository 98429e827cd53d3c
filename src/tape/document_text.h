#pragma once

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "tape/tape_buffer.h"

namespace numvex {

enum class LineBreak { LF, CRLF };

// The line-break style a document keeps: CR LF when any of its lines ended with CR (every
// CR ends a line), LF otherwise.
inline LineBreak LineBreakOf(std::string_view bytes) {
  return std::memchr(bytes.data(), '\r', bytes.size()) == nullptr ? LineBreak::LF : LineBreak::CRLF;
}

// Cuts a document's bytes into lines and calls take(offset, length) for each. LF, CR LF
// and a lone CR each end a line; a final line break does not start an extra line; empty
// bytes have no lines. Returns LineBreakOf(bytes).
template <typename Take>
LineBreak SplitLines(std::string_view bytes, Take&& take) {
  const char* data = bytes.data();
  const size_t size = bytes.size();
  const LineBreak style = LineBreakOf(bytes);
  size_t start = 0;
  if (style == LineBreak::LF) {
    // Only LF ends lines, as in most files: memchr finds each break.
    while (start < size) {
      const void* lf = std::memchr(data + start, '\n', size - start);
      if (lf == nullptr) break;
      const size_t end = static_cast<size_t>(static_cast<const char*>(lf) - data);
      take(start, end - start);
      start = end + 1;
    }
  } else {
    for (size_t i = 0; i < size; ++i) {
      const char c = data[i];
      if (c != '\n' && c != '\r') continue;
      take(start, i - start);
      if (c == '\r' && i + 1 < size && data[i + 1] == '\n') ++i;
      start = i + 1;
    }
  }
  if (start < size) take(start, size - start);
  return style;
}

// Makes the bytes of a file the buffer's lines. LF, CR LF and a lone CR each end a
// line; a final line break does not start an extra line; an empty file has no lines.
// The style is CRLF when any line ended with CR, else LF.
LineBreak SplitDocument(std::string bytes, MemoryTapeBuffer* buffer);
// The same for bytes the buffer has adopted already.
LineBreak SplitAdoptedDocument(MemoryTapeBuffer* buffer);

// The bytes of a document as saved: every line followed by the line break.
std::string JoinDocument(const TapeBuffer& buffer, LineBreak style);

}  // namespace numvex
