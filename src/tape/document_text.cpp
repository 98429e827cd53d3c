#include "tape/document_text.h"

namespace numvex {

LineBreak SplitDocument(std::string bytes, MemoryTapeBuffer* buffer) {
  buffer->Adopt(std::move(bytes));
  return SplitAdoptedDocument(buffer);
}

LineBreak SplitAdoptedDocument(MemoryTapeBuffer* buffer) {
  const std::string_view text = buffer->AdoptedBytes();
  // Tapes average some 25 bytes a line; the vector still grows if a file is denser.
  buffer->Reserve(text.size() / 20 + 16);
  return SplitLines(
      text, [buffer](size_t offset, size_t length) { buffer->AddLoadedLine(offset, length); });
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
