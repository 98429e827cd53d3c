#include "app/calc_document.h"

#include <QFile>
#include <QFileInfo>

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

// Whether every line break is the style's: no CR in an LF document, only CR LF pairs in a
// CR LF one.
bool UniformBreaks(std::string_view bytes, LineBreak style) {
  if (style == LineBreak::LF) return true;  // LineBreakOf found no CR
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' ? i + 1 >= bytes.size() || bytes[++i] != '\n' : bytes[i] == '\n') {
      return false;
    }
  }
  return true;
}

}  // namespace

CalcDocument::Loaded CalcDocument::Load(const QString& path, const Rewrite& rewrite,
                                        bool* rewritten) {
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
  if (rewritten != nullptr) *rewritten = false;
  if (rewrite && UniformBreaks(text, style_)) {
    MemoryTapeBuffer lines;
    lines.Adopt(std::move(bytes.data), bytes.size);
    SplitAdoptedDocument(&lines);
    rewrite(lines);
    if (rewritten != nullptr) *rewritten = true;
    if (lines.WriteCount() > 0) {
      // Every line with the style's break: the editor drops the last one again.
      buffer_.SetDocumentText(JoinDocument(lines, style_), style_);
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
