#include "app/scintilla_tape_buffer.h"

#include <Qsci/qsciscintilla.h>

#include <QAccessible>
#include <QByteArray>
#include <algorithm>
#include <limits>

namespace numvex {

namespace {

using Sci = QsciScintillaBase;

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kCr = "\r";
constexpr std::string_view kLf = "\n";

// The editor's accessibility support turns every insertion and deletion it is told about into
// a character offset counted from the start of the document: a write near the end of a
// million-line tape costs tens of milliseconds, a whole-tape pass grows with the square of
// the length. Nobody listens unless an assistive technology is active. Scintilla reports a
// change when any of its flags is in the mask, so the "performed by the user" flag that every
// engine write carries must go too; the "before" events keep their own flags.
constexpr unsigned long kTextChangeEvents =
    Sci::SC_MOD_INSERTTEXT | Sci::SC_MOD_DELETETEXT | Sci::SC_PERFORMED_USER | Sci::SC_STARTACTION;

}  // namespace

// --- engine write scope ----------------------------------------------------------------------

ScintillaTapeBuffer::EngineWriteScope::EngineWriteScope(ScintillaTapeBuffer& buffer)
    : buffer_(buffer) {
  buffer_.BeginEngineWrite();
}

ScintillaTapeBuffer::EngineWriteScope::~EngineWriteScope() { buffer_.EndEngineWrite(); }

void ScintillaTapeBuffer::BeginEngineWrite() {
  if (engine_depth_++ > 0) return;
  engine_wrote_ = false;
  scroll_to_caret_ = false;
  saved_caret_ = CurrentCaret();
  saved_anchor_ = CurrentAnchor();
  tracking_ = !(saved_caret_ == saved_anchor_);
  if (tracking_) {
    const long anchor = editor_->SendScintilla(Sci::SCI_GETANCHOR);
    const long caret = editor_->SendScintilla(Sci::SCI_GETCURRENTPOS);
    tracked_anchor_ = TrackEnd(anchor);
    tracked_caret_ = TrackEnd(caret);
    // A chain of writes, each in its own scope, keeps the place the first one started from.
    if (caret != restored_caret_ || anchor != restored_anchor_) {
      caret_before_restore_ = saved_caret_;
    }
  }
  saved_undo_collection_ = editor_->SendScintilla(Sci::SCI_GETUNDOCOLLECTION) != 0;
  editor_->SendScintilla(Sci::SCI_SETUNDOCOLLECTION, 0UL);
  saved_event_mask_ = static_cast<unsigned long>(editor_->SendScintilla(Sci::SCI_GETMODEVENTMASK));
  // The "before" events still go out: one-step undo learns from them that the engine wrote.
  if (!QAccessible::isActive()) {
    editor_->SendScintilla(Sci::SCI_SETMODEVENTMASK, saved_event_mask_ & ~kTextChangeEvents);
  }
}

void ScintillaTapeBuffer::EndEngineWrite() {
  if (--engine_depth_ > 0) return;
  editor_->SendScintilla(Sci::SCI_SETMODEVENTMASK, saved_event_mask_);
  editor_->SendScintilla(Sci::SCI_SETUNDOCOLLECTION, saved_undo_collection_ ? 1UL : 0UL);
  if (!engine_wrote_) return;
  // The recorded steps point at text that has moved under them; undoing one now would
  // scramble the tape.
  editor_->SendScintilla(Sci::SCI_EMPTYUNDOBUFFER);
  if (!tracking_) {
    PlaceSelection(saved_anchor_, saved_caret_, scroll_to_caret_);
    return;
  }
  restored_anchor_ = PositionOf(tracked_anchor_);
  restored_caret_ = PositionOf(tracked_caret_);
  editor_->SendScintilla(Sci::SCI_SETSEL, static_cast<unsigned long>(restored_anchor_),
                         restored_caret_);
  if (scroll_to_caret_) editor_->SendScintilla(Sci::SCI_SCROLLCARET);
  editor_->SendScintilla(Sci::SCI_CHOOSECARETX);
}

ScintillaTapeBuffer::SelectionEnd ScintillaTapeBuffer::TrackEnd(long position) const {
  SelectionEnd end;
  end.place = CaretAt(position);
  end.from_end = static_cast<int>(LineEnd(end.place.line) - position);
  end.document_start = position == 0;
  end.document_end = position == editor_->SendScintilla(Sci::SCI_GETLENGTH);
  return end;
}

long ScintillaTapeBuffer::PositionOf(const SelectionEnd& end) const {
  if (end.document_start) return 0;
  if (end.document_end) return editor_->SendScintilla(Sci::SCI_GETLENGTH);
  if (!end.rewritten || end.place.column == 0) return PositionOf(end.place);
  const int line = std::clamp(end.place.line, 1, LineCount());
  return std::max(LineStart(line), LineEnd(line) - end.from_end);
}

void ScintillaTapeBuffer::LineInserted(int line) {
  if (!tracking_) return;
  for (SelectionEnd* end : {&tracked_anchor_, &tracked_caret_}) {
    if (end->place.line >= line) ++end->place.line;
  }
}

void ScintillaTapeBuffer::LineDeleted(int line, bool last) {
  if (!tracking_) return;
  for (SelectionEnd* end : {&tracked_anchor_, &tracked_caret_}) {
    if (end->place.line > line) {
      --end->place.line;
    } else if (end->place.line == line) {
      // The end goes with its line: to the start of the line that takes its place, or to the
      // end of the line above when the last line goes.
      end->place = last ? Caret{line - 1, std::numeric_limits<int>::max()} : Caret{line, 0};
      end->rewritten = false;
    }
  }
}

void ScintillaTapeBuffer::LineReplaced(int line) {
  if (!tracking_) return;
  for (SelectionEnd* end : {&tracked_anchor_, &tracked_caret_}) {
    if (end->place.line == line) end->rewritten = true;
  }
}

// --- buffer ----------------------------------------------------------------------------------

ScintillaTapeBuffer::ScintillaTapeBuffer(QsciScintilla* editor, QObject* parent)
    : QObject(parent), editor_(editor) {
  user_modified_ = editor_->isModified();
  connect(editor_, &QsciScintilla::textChanged, this, &ScintillaTapeBuffer::OnTextChanged);
}

ScintillaTapeBuffer::~ScintillaTapeBuffer() = default;

QsciScintilla* ScintillaTapeBuffer::Editor() const { return editor_; }

void ScintillaTapeBuffer::OnTextChanged() {
  if (EngineWriting()) return;
  user_modified_ = true;
  emit userTextChanged();
}

int ScintillaTapeBuffer::LineCount() const {
  return static_cast<int>(editor_->SendScintilla(Sci::SCI_GETLINECOUNT));
}

long ScintillaTapeBuffer::LineStart(int line) const {
  return editor_->SendScintilla(Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line - 1));
}

long ScintillaTapeBuffer::LineEnd(int line) const {
  return editor_->SendScintilla(Sci::SCI_GETLINEENDPOSITION, static_cast<unsigned long>(line - 1));
}

std::string_view ScintillaTapeBuffer::Line(int line) const {
  line_.clear();
  if (line < 1 || line > LineCount()) return line_;
  const long start = LineStart(line);
  const long end = LineEnd(line);
  // SCI_GETTEXTRANGE writes a terminating zero after the bytes.
  line_.resize(static_cast<size_t>(end - start) + 1);
  editor_->SendScintilla(Sci::SCI_GETTEXTRANGE, start, end, line_.data());
  line_.resize(static_cast<size_t>(end - start));
  return line_;
}

std::string_view ScintillaTapeBuffer::LineBreakBytes() const {
  switch (editor_->SendScintilla(Sci::SCI_GETEOLMODE)) {
    case Sci::SC_EOL_CRLF:
      return kCrLf;
    case Sci::SC_EOL_CR:
      return kCr;
    default:
      return kLf;
  }
}

void ScintillaTapeBuffer::WriteRange(long from, long to, std::string_view text) {
  EngineWriteScope scope(*this);
  editor_->SendScintilla(Sci::SCI_SETTARGETRANGE, static_cast<unsigned long>(from), to);
  // An explicit length lets any byte through, zero included.
  editor_->SendScintilla(Sci::SCI_REPLACETARGET, static_cast<uintptr_t>(text.size()),
                         text.empty() ? "" : text.data());
  engine_wrote_ = true;
}

void ScintillaTapeBuffer::ReplaceLine(int line, std::string_view text) {
  if (line < 1 || line > LineCount()) return;
  // A rewrite to the same bytes (the usual case when a run is recalculated) changes nothing,
  // so it should not cost the user the undo step either.
  if (Line(line) == text) return;
  EngineWriteScope scope(*this);
  WriteRange(LineStart(line), LineEnd(line), text);
  LineReplaced(line);
}

void ScintillaTapeBuffer::InsertLine(int before, std::string_view text) {
  const int count = LineCount();
  if (before < 1 || before > count + 1) return;
  const std::string_view brk = LineBreakBytes();
  scratch_.clear();
  long at;
  if (before <= count) {
    at = LineStart(before);
    scratch_.append(text).append(brk);
  } else {
    at = editor_->SendScintilla(Sci::SCI_GETLENGTH);
    scratch_.append(brk).append(text);
  }
  EngineWriteScope scope(*this);
  WriteRange(at, at, scratch_);
  if (before <= count) LineInserted(before);
}

void ScintillaTapeBuffer::DeleteLine(int line) {
  const int count = LineCount();
  if (line < 1 || line > count) return;
  EngineWriteScope scope(*this);
  if (count > 1) LineDeleted(line, line == count);
  if (count == 1) {
    WriteRange(0, editor_->SendScintilla(Sci::SCI_GETLENGTH), {});
  } else if (line < count) {
    WriteRange(LineStart(line), LineStart(line + 1), {});
  } else {
    // The last line goes together with the break that ends the line above it.
    WriteRange(LineEnd(line - 1), editor_->SendScintilla(Sci::SCI_GETLENGTH), {});
  }
}

ScintillaTapeBuffer::Caret ScintillaTapeBuffer::CaretAt(long pos) const {
  const int line = static_cast<int>(editor_->SendScintilla(Sci::SCI_LINEFROMPOSITION,
                                                           static_cast<unsigned long>(pos))) +
                   1;
  return {line, static_cast<int>(pos - LineStart(line))};
}

ScintillaTapeBuffer::Caret ScintillaTapeBuffer::CurrentCaret() const {
  return CaretAt(editor_->SendScintilla(Sci::SCI_GETCURRENTPOS));
}

ScintillaTapeBuffer::Caret ScintillaTapeBuffer::CurrentAnchor() const {
  return CaretAt(editor_->SendScintilla(Sci::SCI_GETANCHOR));
}

int ScintillaTapeBuffer::CaretLine() const { return CurrentCaret().line; }

int ScintillaTapeBuffer::CaretColumn() const { return CurrentCaret().column; }

long ScintillaTapeBuffer::PositionOf(Caret caret) const {
  const int line = std::clamp(caret.line, 1, LineCount());
  const long start = LineStart(line);
  const long length = LineEnd(line) - start;
  return start + std::clamp<long>(caret.column, 0, length);
}

void ScintillaTapeBuffer::PlaceCaret(Caret caret, bool scroll) {
  const long pos = PositionOf(caret);
  if (scroll) {
    editor_->SendScintilla(Sci::SCI_GOTOPOS, static_cast<unsigned long>(pos));
  } else {
    editor_->SendScintilla(Sci::SCI_SETEMPTYSELECTION, static_cast<unsigned long>(pos));
  }
  // Up and down keep this column from now on.
  editor_->SendScintilla(Sci::SCI_CHOOSECARETX);
}

void ScintillaTapeBuffer::PlaceSelection(Caret anchor, Caret caret, bool scroll) {
  if (anchor == caret) {
    PlaceCaret(caret, scroll);
    return;
  }
  editor_->SendScintilla(Sci::SCI_SETSEL, static_cast<unsigned long>(PositionOf(anchor)),
                         PositionOf(caret));
  if (scroll) editor_->SendScintilla(Sci::SCI_SCROLLCARET);
  editor_->SendScintilla(Sci::SCI_CHOOSECARETX);
}

void ScintillaTapeBuffer::SetCaretPos(int line, int column) {
  const Caret caret{line, column};
  if (EngineWriting()) {
    // Inside a scope the engine has the last word on the caret: the scope's end places it
    // here instead of where it was before. Put back where it was, it keeps its selection.
    if (!(caret == saved_caret_)) {
      saved_anchor_ = caret;
      tracking_ = false;
    }
    saved_caret_ = caret;
    scroll_to_caret_ = true;
    engine_wrote_ = true;
    PlaceCaret(caret, true);
    return;
  }
  const bool restored_selection =
      restored_caret_ >= 0 && caret == caret_before_restore_ &&
      editor_->SendScintilla(Sci::SCI_GETCURRENTPOS) == restored_caret_ &&
      editor_->SendScintilla(Sci::SCI_GETANCHOR) == restored_anchor_;
  if (caret == CurrentCaret() || restored_selection) {
    // Bringing the caret back to where the user left it keeps the user's selection.
    editor_->SendScintilla(Sci::SCI_SCROLLCARET);
    return;
  }
  PlaceCaret(caret, true);
}

void ScintillaTapeBuffer::SetModified(bool modified) {
  user_modified_ = modified;
  if (!modified) editor_->SendScintilla(Sci::SCI_SETSAVEPOINT);
}

void ScintillaTapeBuffer::Repaint() { editor_->viewport()->update(); }

void ScintillaTapeBuffer::SetDocumentText(std::string_view bytes, LineBreak style) {
  std::string_view text = bytes;
  const size_t brk = text.size() >= 2 && text.substr(text.size() - 2) == kCrLf       ? 2
                     : !text.empty() && (text.back() == '\n' || text.back() == '\r') ? 1
                                                                                     : 0;
  text.remove_suffix(brk);
  StartDocumentText(text.size());
  AppendDocumentText(text);
  FinishDocumentText(style);
}

void ScintillaTapeBuffer::StartDocumentText(size_t size) {
  BeginEngineWrite();
  tracking_ = false;  // a new document: no text of the old selection is left
  WriteRange(0, editor_->SendScintilla(Sci::SCI_GETLENGTH), {});
  // Room for the whole text at once, and for the first edits after it: the editor's buffer
  // does not grow (and copy all of it) while loading or at the first key typed.
  editor_->SendScintilla(Sci::SCI_ALLOCATE, static_cast<unsigned long>(size + size / 8 + 65536));
}

void ScintillaTapeBuffer::AppendDocumentText(std::string_view bytes) {
  const long end = editor_->SendScintilla(Sci::SCI_GETLENGTH);
  if (!bytes.empty()) WriteRange(end, end, bytes);
}

void ScintillaTapeBuffer::FinishDocumentText(LineBreak style) {
  editor_->SendScintilla(Sci::SCI_SETEOLMODE, style == LineBreak::CRLF
                                                  ? static_cast<unsigned long>(Sci::SC_EOL_CRLF)
                                                  : static_cast<unsigned long>(Sci::SC_EOL_LF));
  // Placing the caret lays its line out. The first screen is styled before: the highlighter
  // styles a long line so that laying it out is quick, which a line without styles is not.
  const long shown = editor_->SendScintilla(Sci::SCI_LINESONSCREEN) + 1;
  const long end = shown < LineCount() ? LineStart(static_cast<int>(shown) + 1)
                                       : editor_->SendScintilla(Sci::SCI_GETLENGTH);
  editor_->SendScintilla(Sci::SCI_COLOURISE, 0UL, end);
  SetCaretPos(1, 0);
  SetModified(false);
  EndEngineWrite();
}

std::string_view ScintillaTapeBuffer::Text() const {
  const auto length = static_cast<size_t>(editor_->SendScintilla(Sci::SCI_GETLENGTH));
  const auto* text =
      reinterpret_cast<const char*>(editor_->SendScintilla(Sci::SCI_GETCHARACTERPOINTER));
  return length == 0 ? std::string_view() : std::string_view(text, length);
}

void ScintillaTapeBuffer::InsertAtCaretAsUserEdit(const QString& text) {
  const QByteArray bytes = text.toLatin1();
  emit userActionStarting();
  // One group, so that replacing a selection undoes as one step, like a paste.
  editor_->SendScintilla(Sci::SCI_BEGINUNDOACTION);
  editor_->SendScintilla(Sci::SCI_REPLACESEL, "");
  editor_->SendScintilla(Sci::SCI_ADDTEXT, static_cast<uintptr_t>(bytes.size()), bytes.constData());
  editor_->SendScintilla(Sci::SCI_ENDUNDOACTION);
  editor_->SendScintilla(Sci::SCI_SCROLLCARET);
}

}  // namespace numvex
