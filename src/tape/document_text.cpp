#include "tape/document_text.h"

#include <cstring>

namespace numvex {

LineBreak SplitDocument(std::string bytes, MemoryTapeBuffer* buffer) {
  buffer->Adopt(std::move(bytes));
  return SplitAdoptedDocument(buffer);
}

LineBreak SplitAdoptedDocument(MemoryTapeBuffer* buffer) {
  std::string_view text = buffer->AdoptedBytes();
  const char* data = text.data();
  const size_t size = text.size();
  // Tapes average some 25 bytes a line; the vector still grows if a file is denser.
  buffer->Reserve(size / 20 + 16);
  size_t start = 0;
  if (std::memchr(data, '\r', size) == nullptr) {
    // Only LF ends lines, as in most files: memchr finds each break.
    while (start < size) {
      const void* lf = std::memchr(data + start, '\n', size - start);
      if (lf == nullptr) break;
      size_t end = static_cast<size_t>(static_cast<const char*>(lf) - data);
      buffer->AddLoadedLine(start, end - start);
      start = end + 1;
    }
    if (start < size) buffer->AddLoadedLine(start, size - start);
    return LineBreak::LF;
  }
  bool crlf = false;
  for (size_t i = 0; i < size; ++i) {
    char c = data[i];
    if (c != '\n' && c != '\r') continue;
    // Lines end at LF, CR LF or a lone CR.
    buffer->AddLoadedLine(start, i - start);
    if (c == '\r') {
      crlf = true;
      if (i + 1 < size && data[i + 1] == '\n') ++i;
    }
    start = i + 1;
  }
  if (start < size) buffer->AddLoadedLine(start, size - start);
  return crlf ? LineBreak::CRLF : LineBreak::LF;
}

std::string JoinDocument(const TapeBuffer& buffer, LineBreak style) {
  std::string_view brk = style == LineBreak::CRLF ? "\r\n" : "\n";
  size_t size = 0;
  int count = buffer.LineCount();
  for (int i = 1; i <= count; ++i) size += buffer.Line(i).size() + brk.size();
  std::string out;
  out.reserve(size);
  for (int i = 1; i <= count; ++i) {
    out += buffer.Line(i);
    out += brk;
  }
  return out;
}

}  // namespace numvex
