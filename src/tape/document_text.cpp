#include "tape/document_text.h"

namespace numvex {

LineBreak SplitDocument(std::string_view bytes, MemoryTapeBuffer* buffer) {
  bool crlf = false;
  size_t start = 0;
  size_t i = 0;
  while (i < bytes.size()) {
    char c = bytes[i];
    if (c == '\n' || c == '\r') {
      buffer->AppendLine(std::string(bytes.substr(start, i - start)));
      if (c == '\r') {
        crlf = true;
        if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
      }
      start = ++i;
    } else {
      ++i;
    }
  }
  if (start < bytes.size()) buffer->AppendLine(std::string(bytes.substr(start)));
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
