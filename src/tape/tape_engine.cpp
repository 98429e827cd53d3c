#include "tape/tape_engine.h"

#include <algorithm>
#include <cfenv>
#include <cmath>

#include "tape/canonical_entry.h"

#if defined(__x86_64__) || defined(__i386__)
#if defined(__GLIBC__)
#include <fpu_control.h>
#elif defined(_WIN32)
#include <float.h>
#endif
#endif

namespace numvex {

void InitTapeArithmetic() {
#if (defined(__x86_64__) || defined(__i386__)) && defined(__GLIBC__)
  fpu_control_t cw;
  _FPU_GETCW(cw);
  cw = static_cast<fpu_control_t>((cw & ~_FPU_EXTENDED & ~_FPU_DOUBLE & ~_FPU_SINGLE) |
                                  _FPU_EXTENDED);
  cw = static_cast<fpu_control_t>((cw & ~(_FPU_RC_DOWN | _FPU_RC_UP | _FPU_RC_ZERO)) |
                                  _FPU_RC_NEAREST);
  _FPU_SETCW(cw);
#elif (defined(__x86_64__) || defined(__i386__)) && defined(_WIN32)
  _controlfp(_PC_64, _MCW_PC);
  _controlfp(_RC_NEAR, _MCW_RC);
#endif
  std::fesetround(FE_TONEAREST);
}

TapeEngine::TapeEngine(TapeBuffer& buffer, TapeHost& host) : buffer_(buffer), host_(host) {}

void TapeEngine::SetDocModified(bool modified) {
  if (doc_modified_ == modified) return;
  doc_modified_ = modified;
  host_.DocModifiedChanged(modified);
}

int TapeEngine::Decimals() const { return std::clamp(settings_.decimals, 0, 9); }

std::string_view TapeEngine::GetTapeLine(int line) const {
  if (line < 1 || line > buffer_.LineCount()) return {};
  return TrimTape(buffer_.Line(line));
}

void TapeEngine::SetTapeLine(int line, std::string_view text) {
  while (buffer_.LineCount() < line) buffer_.InsertLine(buffer_.LineCount() + 1, "");
  if (buffer_.Line(line) != text) buffer_.ReplaceLine(line, text);
}

LineKind TapeEngine::KindOf(int line) const {
  if (line < 1 || line > buffer_.LineCount()) return lkEmpty;
  return ClassifyLine(TrimTape(buffer_.Line(line)), Seps());
}

void TapeEngine::WriteSeparatorLine(int line) {
  const std::string_view text = SeparatorLineText(Decimals());
  // Leave a separator that is already canonical.
  if (line >= 1 && line <= buffer_.LineCount() && buffer_.Line(line) == text) return;
  SetTapeLine(line, text);
}

TapeEntry TapeEngine::ReformatEntryLine(int line) {
  // Most lines of a saved tape are canonical already: verified, nothing to write.
  LineLook look;
  look.canonical = CalcMode && line >= 1 && line <= buffer_.LineCount() &&
                   ReadCanonicalEntry(buffer_.Line(line), Seps(), Decimals(), &look.entry);
  return TakeEntry(line, look);
}

TapeEntry TapeEngine::RewriteEntryLine(int line) {
  bool division_by_zero = false;
  TapeEntry entry =
      RewriteEntry(GetTapeLine(line), Seps(), Decimals(), CalcMode, &scratch_, &division_by_zero);
  SetTapeLine(line, scratch_);
  if (division_by_zero) host_.DivisionByZero(line);
  return entry;
}

namespace {

void Apply(const TapeEntry& entry, Amount* total, Amount* term) {
  Amount v = entry.amount;
  Amount& t = *total;
  Amount& c = *term;
  switch (entry.operation) {
    case EntryOp::Add:
      t = t + c;
      c = v;
      break;
    case EntryOp::Subtract:
      t = t + c;
      c = -v;
      break;
    case EntryOp::Multiply:
      c = c * v;
      break;
    case EntryOp::Divide:
      c = v == 0 ? 0 : c / v;
      break;
    case EntryOp::AddPercent:
      c = c * (v / 100 + 1);
      break;
    case EntryOp::SubtractPercent:
      c = c - (c * (v / 100 + 1) - c);
      break;
    case EntryOp::MultiplyPercent:
      c = c * (v / 100);
      break;
    case EntryOp::DividePercent:
      c = v == 0 ? 0 : c / (v / 100);
      break;
  }
}

}  // namespace

bool TapeEngine::WriteResult(int line, Amount value, bool insert, LineLook* look) {
  std::string_view comment;
  // The comment as the result line will read back, without the operators at its end, so
  // that an old overflow mark is recognised now and not only on the next pass.
  if (!insert) comment = DropTrailingOperators(SplitComment(GetTapeLine(line), Seps()).comment);
  if (std::isfinite(value)) comment = StripOverflowMark(comment);
  std::string& text = result_text_;
  FormattedLine formatted =
      FormatTapeLine(0, false, value, comment, settings_.round_results, Decimals(), Seps(), &text);
  // Unrounded and in fixed form, a result is written as its entry is (at most 15
  // significant and integer digits, the decimals cut back to the last non-zero one, no
  // sign in the amount, a comment trimmed and without an operator at its end): the
  // canonical reader takes it as it stands and reads the amount the writer reports, and
  // what follows the amount alone decides whether the line reads as an amount line.
  const bool as_entry = !settings_.round_results && formatted.fixed && FastReaderSeparators(Seps());
  const bool amount_line =
      as_entry ? AmountLineTail(std::string_view(text).substr(formatted.amount_end), Seps())
               : ClassifyLine(TrimTape(text), Seps()) == lkNumber;
  if (!amount_line) {
    // The comment taken over from the line under the separator makes the result read
    // as text, which would break the run and let the next pass insert another result.
    // Keep that line as it is and put a plain result above it.
    formatted =
        FormatTapeLine(0, false, value, "", settings_.round_results, Decimals(), Seps(), &text);
    insert = true;
  }
  // The result is read back at once as the first entry of the next block, which
  // rewrites it in the entry form: write that form straight away, so the line
  // changes once and a pass over a finished tape writes nothing.
  *look = LineLook();
  size_t amount_end = 0;
  bool canonical = false;
  if (CalcMode && as_entry) {
    look->entry.op = text[6];
    look->entry.percent = false;
    look->entry.amount = formatted.canonical;
    look->entry.comment = {};
    look->entry.operation = OperationFor(text[6], false);
    amount_end = formatted.amount_end;
    canonical = true;
  } else {
    canonical = CalcMode && ReadCanonicalEntry(text, Seps(), Decimals(), &look->entry, &amount_end);
  }
  std::string_view written = text;
  if (!canonical) {
    bool division_by_zero = false;
    RewriteEntry(TrimTape(text), Seps(), Decimals(), CalcMode, &scratch_, &division_by_zero);
    written = scratch_;
  }
  if (insert) {
    buffer_.InsertLine(line, written);
  } else {
    SetTapeLine(line, written);
  }
  // What Look finds in the line now, known already for a canonical one.
  if (canonical && AmountLineTail(text.substr(amount_end), Seps())) {
    look->kind = lkNumber;
    look->canonical = true;
  } else {
    Look(line, look);
  }
  return insert;
}

void TapeEngine::Look(int line, LineLook* look) const {
  // The entry and what goes with it count only where a flag says so.
  look->kind = lkEmpty;
  look->canonical = false;
  look->typed = false;
  if (line < 1 || line > buffer_.LineCount()) return;
  std::string_view text = buffer_.Line(line);
  size_t amount_end = 0;
  if (CalcMode && ReadCanonicalEntry(text, Seps(), Decimals(), &look->entry, &amount_end) &&
      AmountLineTail(text.substr(amount_end), Seps())) {
    look->kind = lkNumber;
    look->canonical = true;
    return;
  }
  if (CalcMode && ReadTypedEntry(text, Seps(), &look->entry, &look->read)) {
    look->kind = lkNumber;
    look->typed = true;
    const std::string_view comment = look->entry.comment;
    look->comment_offset =
        comment.empty() ? 0 : static_cast<uint32_t>(comment.data() - text.data());
    look->comment_size = static_cast<uint32_t>(comment.size());
    look->entry.comment = {};
    return;
  }
  look->kind = ClassifyLine(TrimTape(text), Seps());
}

TapeEntry TapeEngine::WriteTypedLine(int line, const LineLook& look) {
  TapeEntry read = look.entry;
  read.comment = buffer_.Line(line).substr(look.comment_offset, look.comment_size);
  bool division_by_zero = false;
  const TapeEntry entry =
      WriteEntry(read, look.read, Seps(), Decimals(), &scratch_, &division_by_zero);
  // The written line starts with a blank and the typed one does not: it always changes.
  buffer_.ReplaceLine(line, scratch_);
  if (division_by_zero) host_.DivisionByZero(line);
  return entry;
}

TapeEntry TapeEngine::TakeEntry(int line, const LineLook& look) {
  if (look.typed) return WriteTypedLine(line, look);
  if (!look.canonical) return RewriteEntryLine(line);  // the look found it needs writing
  if (DividesByZero(look.entry)) host_.DivisionByZero(line);
  return look.entry;
}

TapeEngine::BlockResult TapeEngine::RecalcRun(int l0, bool at_run_start, const LineLook* first) {
  bool remembered = doc_modified_;
  int l = l0;
  if (!at_run_start) {
    while (l > 1 && IsRunKind(KindOf(l - 1))) --l;
  }
  LineLook looks[2];
  LineLook* look = &looks[0];
  LineLook* next = &looks[1];
  if (l == l0 && first != nullptr) {
    *look = *first;
  } else {
    Look(l, look);
  }
  while (look->kind == lkSeparator) Look(++l, look);
  if (look->kind != lkNumber) return {std::max(l0, l + 1), 0};
  Look(l + 1, next);
  if (!IsRunKind(next->kind)) return {std::max(l0, l + 1), 0};
  bool next_known = true;

  int resume = l0;
  while (look->kind == lkNumber) {
    Amount total = 0;
    Amount term = 0;
    while (look->kind == lkNumber) {
      // Rewriting a line leaves the lines below it as they were, so a look taken
      // before stays good.
      Apply(TakeEntry(l, *look), &total, &term);
      ++l;
      // The line after the run's first line has been looked at already.
      if (next_known) {
        std::swap(look, next);
      } else {
        Look(l, look);
      }
      next_known = false;
    }
    if (look->kind == lkSeparator) {
      WriteSeparatorLine(l);
      ++l;
      LineKind after = KindOf(l);
      WriteResult(l, total + term, /*insert=*/!(after == lkNumber || after == lkEmpty), look);
      resume = std::max(resume, l);
    }
  }
  SetDocModified(remembered);
  return {resume, l};
}

int TapeEngine::RecalcBlock(int line) { return RecalcRun(line, false).resume; }

void TapeEngine::RecalcAll() {
  host_.BeginBusy();
  bool remembered = doc_modified_;
  int l = 1;
  bool above_seen = true;  // every line above l was looked at and is no run line
  while (l <= buffer_.LineCount()) {
    LineLook look;
    Look(l, &look);
    if (IsRunKind(look.kind)) {
      BlockResult r = RecalcRun(l, above_seen, &look);
      if (r.run_end != 0) {
        // Every later line of the run that a restart would begin at recomputes the
        // same run from the same text and writes nothing new, and the line that
        // ended the run is no run line: go on after it.
        l = r.run_end;
        above_seen = true;
      } else {
        // Nothing was computed; the scan skips ahead as a restart would, past lines
        // it has not looked at.
        l = r.resume;
        above_seen = false;
      }
    } else {
      above_seen = true;
    }
    ++l;
  }
  ResetTapeView();
  SetDocModified(remembered);
  host_.EndBusy();
}

void TapeEngine::RecalcOnCaretLeave() {
  if (!CalcMode) return;
  CaretPos caret = GetCaret();
  int count = buffer_.LineCount();
  if (buffer_.Modified() &&
      (last_caret_line_ != caret.line || (count != last_line_count_ && count != caret.line))) {
    if (IsRunKind(KindOf(last_caret_line_))) {
      RecalcBlock(last_caret_line_);
    } else if (IsRunKind(KindOf(caret.line))) {
      RecalcBlock(caret.line);
    }
    SetCaret(caret.line, caret.column);
    buffer_.SetModified(false);
  }
  last_caret_line_ = caret.line;
  last_line_count_ = buffer_.LineCount();
}

void TapeEngine::ResetTapeView() {
  buffer_.SetModified(false);
  buffer_.Repaint();
  SetCaret(1, 0);
  SetDocModified(false);
}

CaretPos TapeEngine::GetCaret() const { return {buffer_.CaretLine(), buffer_.CaretColumn()}; }

void TapeEngine::SetCaret(int line, int column) {
  // A column taken before a write may lie past the end of the line the write shortened (a
  // rewritten entry, an empty line opened above the caret's text): the caret goes to its end.
  if (line >= 1 && line <= buffer_.LineCount()) {
    column = std::clamp(column, 0, static_cast<int>(buffer_.Line(line).size()));
  }
  last_caret_line_ = line;
  last_line_count_ = buffer_.LineCount();
  buffer_.SetCaretPos(line, column);
}

}  // namespace numvex
