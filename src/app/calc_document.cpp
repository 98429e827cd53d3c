#include "app/calc_document.h"

#include <sys/stat.h>

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "app/scintilla_tape_buffer.h"
#include "tape/document_file.h"

namespace numvex {

namespace {

std::string LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

std::string_view FinalBreak(std::string_view bytes) {
  if (bytes.size() >= 2 && bytes.substr(bytes.size() - 2) == "\r\n") return "\r\n";
  if (!bytes.empty() && (bytes.back() == '\n' || bytes.back() == '\r'))
    return bytes.substr(bytes.size() - 1);
  return {};
}

}  // namespace

bool CalcDocument::StreamIntoEditor(const std::string& path) {
  std::FILE* in = std::fopen(path.c_str(), "rb");
  if (in == nullptr) return false;
  struct stat st;
  if (fstat(fileno(in), &st) != 0 || !S_ISREG(st.st_mode)) {
    std::fclose(in);
    return false;
  }
  // The last two bytes read are held back until more follow: they may be the final break,
  // which the editor does not get.
  constexpr size_t kPiece = 1 << 20;
  std::unique_ptr<char[]> piece(new char[kPiece + 2]);
  size_t held = 0;
  size_t total = 0;
  bool any_cr = false;
  buffer_.StartDocumentText(static_cast<size_t>(st.st_size));
  for (;;) {
    // A request this large goes straight into the piece, past the stream's own buffer.
    const size_t n = std::fread(piece.get() + held, 1, kPiece, in);
    if (n == 0) {
      const bool failed = std::ferror(in) != 0;
      std::fclose(in);
      const std::string_view tail(piece.get(), held);
      final_break_ = std::string(FinalBreak(tail));
      buffer_.AppendDocumentText(tail.substr(0, tail.size() - final_break_.size()));
      style_ = any_cr ? LineBreak::CRLF : LineBreak::LF;
      ended_with_break_only_ = total != 0 && total == final_break_.size();
      buffer_.FinishDocumentText(style_);
      return !failed;
    }
    any_cr = any_cr || std::memchr(piece.get() + held, '\r', n) != nullptr;
    total += n;
    const size_t have = held + n;
    held = std::min<size_t>(have, 2);
    buffer_.AppendDocumentText(std::string_view(piece.get(), have - held));
    std::memmove(piece.get(), piece.get() + have - held, held);
  }
}

CalcDocument::Loaded CalcDocument::Load(const QString& path, const Rewrite& rewrite,
                                        bool* rewritten) {
  if (rewritten != nullptr) *rewritten = false;
  // Text that is not rewritten goes into the editor a piece at a time: the whole file is
  // never held twice.
  if (!rewrite) {
    if (StreamIntoEditor(LocalPath(path))) return Loaded::kOk;
    if (!QFileInfo(path).isFile()) {
      // Not a regular file (a pipe, say): read whole below.
    } else {
      return QFileInfo::exists(path) ? Loaded::kFailed : Loaded::kMissing;
    }
  }
  FileBytes bytes;
  std::string error;
  // A file gone since it was chosen is missing; one that is there but will not read failed.
  if (!ReadFileBytes(LocalPath(path), &bytes, &error)) {
    return QFileInfo::exists(path) ? Loaded::kFailed : Loaded::kMissing;
  }
  const std::string_view text(bytes.data.get(), bytes.size);
  style_ = LineBreakOf(text);
  final_break_ = std::string(FinalBreak(text));
  ended_with_break_only_ = !text.empty() && text.size() == final_break_.size();
  if (rewrite && HasUniformBreaks(text, style_)) {
    MemoryTapeBuffer lines;
    lines.Adopt(std::move(bytes.data), bytes.size);
    SplitAdoptedDocument(&lines);
    rewrite(lines);
    if (rewritten != nullptr) *rewritten = true;
    if (lines.WriteCount() > 0) {
      // The lines joined by the style's break go in a piece at a time.
      const std::string_view brk = style_ == LineBreak::CRLF ? "\r\n" : "\n";
      const int count = lines.LineCount();
      size_t size = 0;
      for (int i = 1; i <= count; ++i) size += lines.Line(i).size() + brk.size();
      buffer_.StartDocumentText(size);
      std::string piece;
      for (int i = 1; i <= count; ++i) {
        piece.append(lines.Line(i));
        if (i < count) piece.append(brk);
        if (piece.size() >= (1 << 20) || i == count) {
          buffer_.AppendDocumentText(piece);
          piece.clear();
        }
      }
      buffer_.FinishDocumentText(style_);
      return Loaded::kOk;
    }
    buffer_.SetDocumentText(lines.AdoptedBytes(), style_);
    return Loaded::kOk;
  }
  buffer_.SetDocumentText(text, style_);
  return Loaded::kOk;
}

void CalcDocument::Clear() {
  final_break_.clear();
  ended_with_break_only_ = false;
  buffer_.SetDocumentText({}, style_);
}

bool CalcDocument::Write(std::string* error) const {
  const std::string_view text = buffer_.Text();
  const std::string_view brk = !final_break_.empty()
                                   ? std::string_view(final_break_)
                                   : (style_ == LineBreak::CRLF ? std::string_view("\r\n") : "\n");
  const bool with_break = !text.empty() || ended_with_break_only_;
  return ReplaceFileAtomically(
      LocalPath(file_name_),
      [&](std::FILE* out) {
        return (text.empty() || std::fwrite(text.data(), 1, text.size(), out) == text.size()) &&
               (!with_break || std::fwrite(brk.data(), 1, brk.size(), out) == brk.size());
      },
      error);
}

}  // namespace numvex
