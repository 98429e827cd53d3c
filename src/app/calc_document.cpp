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
#include "tape/tape_stream.h"

namespace numvex {

namespace {

std::string LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

std::string_view FinalBreak(std::string_view bytes) {
  if (bytes.size() >= 2 && bytes.substr(bytes.size() - 2) == "\r\n") return "\r\n";
  if (!bytes.empty() && (bytes.back() == '\n' || bytes.back() == '\r'))
    return bytes.substr(bytes.size() - 1);
  return {};
}

class CountOutput : public TapeStream::Output {
 public:
  bool Write(std::string_view bytes) override {
    size += bytes.size();
    return true;
  }
  size_t size = 0;
};

// Appends the recalculated lines to the editor but for the last break, which the editor does
// not get: the last bytes written are held back until more follow.
class EditorOutput : public TapeStream::Output {
 public:
  EditorOutput(ScintillaTapeBuffer& buffer, size_t break_size)
      : buffer_(buffer), break_size_(break_size) {}
  bool Write(std::string_view bytes) override {
    if (bytes.size() < break_size_) {
      held_.append(bytes);
      const size_t keep = std::min(held_.size(), break_size_);
      buffer_.AppendDocumentText(std::string_view(held_).substr(0, held_.size() - keep));
      held_.erase(0, held_.size() - keep);
      return true;
    }
    buffer_.AppendDocumentText(held_);
    buffer_.AppendDocumentText(bytes.substr(0, bytes.size() - break_size_));
    held_.assign(bytes.substr(bytes.size() - break_size_));
    return true;
  }

 private:
  ScintillaTapeBuffer& buffer_;
  size_t break_size_;
  std::string held_;
};

}  // namespace

CalcDocument::Streamed CalcDocument::StreamRecalculated(std::FILE* in,
                                                        const Recalculation& recalc) {
  BreakScan scan;
  if (!ScanBreaks(in, &scan)) return Streamed::kFailed;
  if (!scan.uniform_breaks) return Streamed::kAsItIs;
  // A first pass tells what the recalculation writes and how much; its reports are the ones
  // the user sees. A tape it leaves as it is goes in as the file's bytes.
  std::rewind(in);
  CountOutput count;
  bool changed = false;
  if (!TapeStream(recalc.settings, *recalc.host).Run(in, scan.style, count, &changed)) {
    return Streamed::kFailed;
  }
  if (!changed) {
    std::rewind(in);
    return StreamIntoEditor(in, scan.size) ? Streamed::kDone : Streamed::kFailed;
  }
  const std::string_view brk = scan.style == LineBreak::CRLF ? "\r\n" : "\n";
  style_ = scan.style;
  final_break_ = scan.ends_with_break ? std::string(brk) : std::string();
  ended_with_break_only_ = scan.size == brk.size() && scan.ends_with_break;
  std::rewind(in);
  buffer_.StartDocumentText(count.size - std::min(count.size, brk.size()));
  QuietTapeHost quiet;
  EditorOutput editor(buffer_, brk.size());
  bool again = false;
  const bool read = TapeStream(recalc.settings, quiet).Run(in, scan.style, editor, &again);
  buffer_.FinishDocumentText(style_);
  return read ? Streamed::kDone : Streamed::kFailed;
}

bool CalcDocument::StreamIntoEditor(std::FILE* in, size_t size) {
  // The last two bytes read are held back until more follow: they may be the final break,
  // which the editor does not get.
  constexpr size_t kPiece = 1 << 20;
  std::unique_ptr<char[]> piece(new char[kPiece + 2]);
  size_t held = 0;
  size_t total = 0;
  bool any_cr = false;
  buffer_.StartDocumentText(size);
  for (;;) {
    // A request this large goes straight into the piece, past the stream's own buffer.
    const size_t n = std::fread(piece.get() + held, 1, kPiece, in);
    if (n == 0) {
      const bool failed = std::ferror(in) != 0;
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

CalcDocument::Loaded CalcDocument::Load(const QString& path, const Recalculation* recalc,
                                        bool* rewritten) {
  if (rewritten != nullptr) *rewritten = false;
  // Text goes into the editor a piece at a time, a tape recalculated a stretch at a time: the
  // whole file is never held twice.
  Streamed streamed = Streamed::kFailed;
  if (std::FILE* in = std::fopen(LocalPath(path).c_str(), "rb")) {
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> closer(in, &std::fclose);
    struct stat st;
    if (fstat(fileno(in), &st) != 0 || !S_ISREG(st.st_mode)) {
      streamed = Streamed::kAsItIs;
    } else if (recalc != nullptr) {
      streamed = StreamRecalculated(in, *recalc);
    } else {
      streamed = StreamIntoEditor(in, static_cast<size_t>(st.st_size)) ? Streamed::kDone
                                                                      : Streamed::kFailed;
    }
  }
  if (streamed == Streamed::kDone) {
    if (rewritten != nullptr) *rewritten = recalc != nullptr;
    return Loaded::kOk;
  }
  // A file gone since it was chosen is missing; one that is there but will not read failed.
  if (streamed == Streamed::kFailed) {
    return QFileInfo::exists(path) ? Loaded::kFailed : Loaded::kMissing;
  }
  // Not a regular file (a pipe, say), or a tape with mixed breaks: read whole.
  FileBytes bytes;
  std::string error;
  if (!ReadFileBytes(LocalPath(path), &bytes, &error)) {
    return QFileInfo::exists(path) ? Loaded::kFailed : Loaded::kMissing;
  }
  const std::string_view text(bytes.data.get(), bytes.size);
  style_ = LineBreakOf(text);
  final_break_ = std::string(FinalBreak(text));
  ended_with_break_only_ = !text.empty() && text.size() == final_break_.size();
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
