#include "tape/tape_stream.h"

#include <cstring>

#include "tape/line_kind.h"

namespace numvex {

namespace {

constexpr size_t kChunk = 64 * 1024;

class FileOutput : public TapeStream::Output {
 public:
  explicit FileOutput(std::FILE* file) : file_(file) {}
  bool Write(std::string_view bytes) override {
    return std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size();
  }

 private:
  std::FILE* file_;
};

}  // namespace

bool ScanBreaks(std::FILE* in, BreakScan* scan) {
  static thread_local char chunk[kChunk];
  bool any_cr = false, lone_cr = false, bare_lf = false, after_cr = false;
  char last = 0;
  size_t total = 0;
  for (size_t n; (n = std::fread(chunk, 1, sizeof(chunk), in)) > 0;) {
    total += n;
    last = chunk[n - 1];
    if (!any_cr && !after_cr && std::memchr(chunk, '\r', n) == nullptr) {
      continue;  // an LF document: nothing to check but the last byte
    }
    for (size_t i = 0; i < n; ++i) {
      const char c = chunk[i];
      if (after_cr && c != '\n') lone_cr = true;
      if (c == '\n' && !after_cr) bare_lf = true;
      after_cr = c == '\r';
      any_cr = any_cr || after_cr;
    }
  }
  if (std::ferror(in)) return false;
  if (after_cr) lone_cr = true;
  // Before the first CR, every LF was bare; that counts only in a CR LF document.
  scan->style = any_cr ? LineBreak::CRLF : LineBreak::LF;
  scan->uniform_breaks = !any_cr || (!lone_cr && !bare_lf);
  scan->ends_with_break = last == '\n' || last == '\r';
  scan->size = total;
  scan->canonical_layout = total == 0 || (last == '\n' && scan->uniform_breaks);
  return true;
}

TapeStream::TapeStream(const TapeSettings& settings, TapeHost& host, size_t stretch_bytes)
    : seps_(settings.seps),
      stretch_bytes_(stretch_bytes),
      host_(host, lines_done_),
      engine_(buffer_, host_) {
  engine_.SetSettings(settings);
  engine_.CalcMode = true;
}

bool TapeStream::IsRunLine(size_t index) const {
  const size_t start = starts_[index];
  const size_t end = index + 1 < starts_.size() ? starts_[index + 1] : stretch_.size();
  return IsRunKind(
      ClassifyLine(TrimTape(std::string_view(stretch_).substr(start, end - start - 1)), seps_));
}

void TapeStream::AddLine(std::string_view text) {
  starts_.push_back(stretch_.size());
  stretch_.append(text).push_back('\n');
  // No run reaches across two lines in a row that are no run lines. Lines are looked at only
  // once the stretch is large enough to be cut.
  const size_t last = starts_.size() - 1;
  if (stretch_.size() >= stretch_bytes_ && last > 0 && !IsRunLine(last) && !IsRunLine(last - 1)) {
    Flush();
  }
}

void TapeStream::Flush() {
  buffer_.AdoptView(stretch_);
  for (size_t i = 0; i < starts_.size(); ++i) {
    const size_t end = i + 1 < starts_.size() ? starts_[i + 1] : stretch_.size();
    buffer_.AddLoadedLine(starts_[i], end - starts_[i] - 1);
  }
  engine_.RecalcAll();
  changed_ = changed_ || buffer_.WriteCount() > 0;
  const int count = buffer_.LineCount();
  for (int i = 1; i <= count; ++i) {
    if (out_ == nullptr) break;
    out_bytes_.append(buffer_.Line(i)).append(brk_);
    if (out_bytes_.size() >= kChunk) {
      if (!out_->Write(out_bytes_)) write_failed_ = true;
      out_bytes_.clear();
    }
  }
  lines_done_ += count;
  stretch_.clear();
  starts_.clear();
}

bool TapeStream::Run(std::FILE* in, LineBreak style, std::FILE* out, bool* changed) {
  if (out == nullptr) return RunTo(in, style, nullptr, changed);
  FileOutput file(out);
  return RunTo(in, style, &file, changed);
}

bool TapeStream::Run(std::FILE* in, LineBreak style, Output& out, bool* changed) {
  return RunTo(in, style, &out, changed);
}

bool TapeStream::RunTo(std::FILE* in, LineBreak style, Output* out, bool* changed) {
  static thread_local char chunk[kChunk];
  out_ = out;
  brk_ = style == LineBreak::CRLF ? "\r\n" : "\n";
  // A document in the CR LF style ends lines with CR LF, a lone CR and a lone LF alike.
  auto find_break = [style](const char* p, const char* end) {
    if (style == LineBreak::LF) {
      const void* lf = std::memchr(p, '\n', static_cast<size_t>(end - p));
      return lf == nullptr ? end : static_cast<const char*>(lf);
    }
    while (p < end && *p != '\n' && *p != '\r') ++p;
    return p;
  };
  bool after_cr = false;  // a CR ended the last chunk: an LF starting this one belongs to it
  bool ok = true;
  for (size_t n; (n = std::fread(chunk, 1, sizeof(chunk), in)) > 0;) {
    const char* p = chunk;
    const char* end = chunk + n;
    if (after_cr && *p == '\n') ++p;
    after_cr = false;
    while (p < end) {
      const char* brk = find_break(p, end);
      if (brk == end) {
        line_.append(p, static_cast<size_t>(end - p));
        break;
      }
      if (line_.empty()) {
        AddLine(std::string_view(p, static_cast<size_t>(brk - p)));
      } else {
        line_.append(p, static_cast<size_t>(brk - p));
        AddLine(line_);
        line_.clear();
      }
      p = brk + 1;
      if (*brk == '\r') {
        if (p == end) {
          after_cr = true;
        } else if (*p == '\n') {
          ++p;
        }
      }
    }
  }
  if (std::ferror(in)) ok = false;
  if (!line_.empty()) AddLine(line_);
  line_.clear();
  Flush();
  if (out_ != nullptr && !out_bytes_.empty() && !out_->Write(out_bytes_)) write_failed_ = true;
  out_bytes_.clear();
  *changed = changed_;
  return ok && !write_failed_;
}

}  // namespace numvex
