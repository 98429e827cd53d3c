#include "tape/tape_stream.h"

#include <algorithm>
#include <cstring>

#include "tape/line_kind.h"

namespace numvex {

namespace {

constexpr size_t kChunk = 64 * 1024;
constexpr size_t kOutBytes = 128 * 1024;

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

TapeStream::TapeStream(const TapeSettings& settings, TapeHost& host, size_t stretch_bytes,
                       size_t read_bytes)
    : seps_(settings.seps),
      stretch_bytes_(stretch_bytes),
      read_bytes_(std::max<size_t>(read_bytes, 1)),
      host_(host, lines_done_),
      engine_(buffer_, host_) {
  engine_.SetSettings(settings);
  engine_.CalcMode = true;
}

bool TapeStream::IsRunLine(int line) const {
  return IsRunKind(ClassifyLine(TrimTape(buffer_.Line(line)), seps_));
}

inline bool TapeStream::AddLine(size_t start, size_t length) {
  buffer_.AddLoadedLine(start - stretch_begin_, length);
  // No run reaches across two lines in a row that are no run lines. Lines are looked at only
  // once the stretch is large enough to be cut.
  const int last = buffer_.LineCount();
  return start + length - stretch_begin_ >= stretch_bytes_ && last > 1 && !IsRunLine(last) &&
         !IsRunLine(last - 1);
}

inline bool TapeStream::NextLine(size_t start, size_t end, bool at_end, size_t* length,
                                 size_t* after) const {
  const char* data = input_.get();
  size_t brk = end;
  if (style_ == LineBreak::LF) {
    const void* lf = std::memchr(data + start, '\n', end - start);
    if (lf != nullptr) brk = static_cast<size_t>(static_cast<const char*>(lf) - data);
  } else {
    // A document in the CR LF style ends lines with CR LF, a lone CR and a lone LF alike.
    brk = start;
    while (brk < end && data[brk] != '\n' && data[brk] != '\r') ++brk;
  }
  if (brk == end) return false;  // the line goes on in the next read
  *after = brk + 1;
  if (data[brk] == '\r') {
    if (*after == end && !at_end) return false;  // an LF in the next read may belong to this CR
    if (*after < end && data[*after] == '\n') ++*after;
  }
  *length = brk - start;
  return true;
}

void TapeStream::CutLines(bool at_end) {
  size_t length = 0;
  size_t after = 0;
  while (next_ < input_size_ && NextLine(next_, input_size_, at_end, &length, &after)) {
    const bool cut = AddLine(next_, length);
    next_ = after;
    if (cut) Flush();
  }
  if (at_end && next_ < input_size_) {
    AddLine(next_, input_size_ - next_);  // the last line, without a break
    next_ = input_size_;
  }
}

void TapeStream::AdoptStretch() {
  buffer_.AdoptView(
      std::string_view(input_.get() + stretch_begin_, input_capacity_ - stretch_begin_));
}

void TapeStream::MakeRoom() {
  if (input_capacity_ - input_size_ >= read_bytes_) return;
  // The recalculated stretches before stretch_begin_ are not needed any more.
  const size_t kept = input_size_ - stretch_begin_;
  size_t capacity = std::max(input_capacity_, 4 * read_bytes_);
  while (capacity < kept + read_bytes_) capacity *= 2;
  if (capacity != input_capacity_) {
    std::unique_ptr<char[]> grown(new char[capacity]);
    if (kept > 0) std::memcpy(grown.get(), input_.get() + stretch_begin_, kept);
    input_ = std::move(grown);
    input_capacity_ = capacity;
  } else if (kept > 0) {
    std::memmove(input_.get(), input_.get() + stretch_begin_, kept);
  }
  next_ -= stretch_begin_;
  input_size_ = kept;
  stretch_begin_ = 0;
  // The stretch's lines moved: the buffer takes them again where they are now, all ended by
  // their breaks.
  AdoptStretch();
  size_t length = 0;
  size_t after = 0;
  for (size_t start = 0; start < next_ && NextLine(start, next_, true, &length, &after);
       start = after) {
    buffer_.AddLoadedLine(start, length);
  }
}

inline void TapeStream::Write(std::string_view line) {
  const size_t size = line.size() + brk_.size();
  if (kOutBytes - out_size_ < size) {
    WriteOut();
    if (size > kOutBytes) {
      if (!out_->Write(line) || !out_->Write(brk_)) write_failed_ = true;
      return;
    }
  }
  char* at = out_bytes_.get() + out_size_;
  std::memcpy(at, line.data(), line.size());
  at[line.size()] = brk_[0];
  if (brk_.size() > 1) at[line.size() + 1] = brk_[1];
  out_size_ += size;
}

void TapeStream::WriteOut() {
  if (out_size_ == 0) return;
  if (!out_->Write(std::string_view(out_bytes_.get(), out_size_))) write_failed_ = true;
  out_size_ = 0;
}

void TapeStream::Flush() {
  engine_.RecalcAll();
  changed_ = changed_ || buffer_.WriteCount() > 0;
  const int count = buffer_.LineCount();
  if (out_ != nullptr) {
    for (int i = 1; i <= count; ++i) Write(buffer_.Line(i));
  }
  lines_done_ += count;
  stretch_begin_ = next_;
  AdoptStretch();
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
  out_ = out;
  style_ = style;
  brk_ = style == LineBreak::CRLF ? "\r\n" : "\n";
  if (out_ != nullptr) out_bytes_.reset(new char[kOutBytes]);
  for (;;) {
    MakeRoom();
    const size_t n = std::fread(input_.get() + input_size_, 1, read_bytes_, in);
    if (n == 0) break;
    input_size_ += n;
    CutLines(/*at_end=*/false);
  }
  const bool ok = !std::ferror(in);
  CutLines(/*at_end=*/true);
  Flush();
  if (out_ != nullptr) WriteOut();
  *changed = changed_;
  return ok && !write_failed_;
}

}  // namespace numvex
