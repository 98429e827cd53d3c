#include "tape/document_file.h"

#include <cstring>

namespace numvex {

bool HasUniformBreaks(std::string_view bytes, LineBreak style) {
  if (style == LineBreak::LF) return std::memchr(bytes.data(), '\r', bytes.size()) == nullptr;
  for (size_t i = 0; i < bytes.size(); ++i) {
    char c = bytes[i];
    if (c == '\r') {
      if (i + 1 >= bytes.size() || bytes[i + 1] != '\n') return false;
      ++i;
    } else if (c == '\n') {
      return false;  // a bare LF in a CR LF document
    }
  }
  return true;
}

bool HasCanonicalLayout(std::string_view bytes, LineBreak style) {
  return bytes.empty() || (bytes.back() == '\n' && HasUniformBreaks(bytes, style));
}

bool WriteDocument(const TapeBuffer& buffer, LineBreak style, std::FILE* out) {
  std::string_view brk = style == LineBreak::CRLF ? "\r\n" : "\n";
  std::string chunk;
  constexpr size_t kChunk = 1 << 20;
  chunk.reserve(kChunk + 4096);
  int count = buffer.LineCount();
  for (int i = 1; i <= count; ++i) {
    chunk += buffer.Line(i);
    chunk += brk;
    if (chunk.size() >= kChunk) {
      if (std::fwrite(chunk.data(), 1, chunk.size(), out) != chunk.size()) return false;
      chunk.clear();
    }
  }
  if (!chunk.empty() && std::fwrite(chunk.data(), 1, chunk.size(), out) != chunk.size()) {
    return false;
  }
  return std::fflush(out) == 0;
}

bool ReplaceFileAtomically(const std::string& path, const TapeBuffer& buffer, LineBreak style,
                           std::string* error) {
  return ReplaceFileAtomically(
      path, [&](std::FILE* out) { return WriteDocument(buffer, style, out); }, error);
}

}  // namespace numvex
