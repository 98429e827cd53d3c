#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <string>
#include <string_view>

#include "tape/document_text.h"
#include "tape/tape_buffer.h"

class QsciScintilla;

namespace numvex {

// The tape engine's line buffer over the window's editor. The editor runs in 8-bit mode, so a
// line is exactly its bytes; lines count from 1, columns are byte offsets from 0.
//
// Writes through the TapeBuffer interface are the engine's own. While one runs, undo collection
// is off and userTextChanged() stays silent; afterwards the undo history is emptied, because
// its positions no longer match the text. A lone caret is put back on the line number and
// column it had. A selection stays over the same text: its ends follow inserted and deleted
// lines, the document's start and end stay its start and end, and an end in a rewritten line
// keeps its place from the line's start (column 0) or from the line's end (any other column),
// since the engine's rewrites widen amounts and keep comments at the end. Modified() is not
// touched by them. Unless an assistive
// technology is active, the editor does not announce them either (no SC_MOD_INSERTTEXT or
// SC_MOD_DELETETEXT notification, so no textChanged()): announcing costs time that grows with
// the write's position in the document.
//
// Modified() is this buffer's own record of user edits, not Scintilla's save point: emptying
// the undo history (after every engine write, and before every user action while one-step undo
// is attached) moves Scintilla's save point, so SCI_GETMODIFY would forget an edit the engine
// has not caught up with. Every user edit (typing, line breaks, deletions, pastes, drops, undo,
// redo, InsertAtCaretAsUserEdit) sets it; SetModified(false) clears it and also sets the
// editor's save point, so isModified() agrees until the history is next emptied.
//
// Out-of-range lines read as empty and writes to them are ignored: the engine never asks for
// them, and a window event handler is no place for an exception.
class ScintillaTapeBuffer : public QObject, public TapeBuffer {
  Q_OBJECT

 public:
  // Brackets engine writes; nestable, and open around each single write anyway. The outermost
  // scope turns undo collection off and, if anything was written, empties the undo history
  // when it ends and puts the caret back: where it was, or where SetCaretPos put it meanwhile.
  // A window may open one around a whole engine operation to pay for this once.
  class EngineWriteScope {
   public:
    explicit EngineWriteScope(ScintillaTapeBuffer& buffer);
    ~EngineWriteScope();
    EngineWriteScope(const EngineWriteScope&) = delete;
    EngineWriteScope& operator=(const EngineWriteScope&) = delete;

   private:
    ScintillaTapeBuffer& buffer_;
  };

  // The editor must be in 8-bit mode (setUtf8(false)) and outlive the buffer's use.
  explicit ScintillaTapeBuffer(QsciScintilla* editor, QObject* parent = nullptr);
  ~ScintillaTapeBuffer() override;

  int LineCount() const override;
  // A view into a buffer of this object: valid until the next call of Line.
  std::string_view Line(int line) const override;
  // `text` must not hold line-break bytes: they would split the line in the editor.
  void ReplaceLine(int line, std::string_view text) override;
  // Inserts `text` plus the editor's line break (SCI_GETEOLMODE); LineCount()+1 appends.
  void InsertLine(int before, std::string_view text) override;
  // The editor always keeps one line: deleting the only line empties it.
  void DeleteLine(int line) override;
  int CaretLine() const override;
  int CaretColumn() const override;
  // Clamps to the document, collapses the selection there and scrolls the caret into view.
  void SetCaretPos(int line, int column) override;
  bool Modified() const override { return user_modified_; }
  // false: clears the flag and sets the editor's save point. true: sets the flag only;
  // Scintilla has no way to leave its save point without an edit.
  void SetModified(bool modified) override;
  void Repaint() override;

  // Loads a document: `bytes` become the editor's text unchanged, every line break as it is,
  // but for one final line break, which adds no line (the document writes it back). `style`
  // becomes the editor's line-break style for new lines. Not a user edit: no userTextChanged(),
  // empty undo history, Modified() false, caret on line 1, column 0.
  void SetDocumentText(std::string_view bytes, LineBreak style);
  // The same in pieces, for a document read a piece at a time: Start empties the editor and
  // makes room for `size` bytes, Append adds bytes (the caller leaves out the final line
  // break), Finish ends the load as SetDocumentText does.
  void StartDocumentText(size_t size);
  void AppendDocumentText(std::string_view bytes);
  void FinishDocumentText(LineBreak style);

  // The editor's whole text; valid until the next change.
  std::string_view Text() const;

  // Inserts `text` at the caret, replacing the selection, as one user edit that behaves like a
  // paste: userTextChanged(), Modified(), one undo step. The clipboard is not used. Characters
  // are taken as Latin-1 (the keypad's captions are ASCII).
  void InsertAtCaretAsUserEdit(const QString& text);

  // True while an engine write runs; the editor's own signals fire then, too.
  bool EngineWriting() const { return engine_depth_ > 0; }

  QsciScintilla* Editor() const;

 signals:
  // A user edit changed the text (never an engine write).
  void userTextChanged();
  // InsertAtCaretAsUserEdit is about to change the text: a new user action starts.
  void userActionStarting();

 private:
  struct Caret {
    int line = 1;    // 1-based
    int column = 0;  // 0-based byte column
    bool operator==(const Caret& other) const {
      return line == other.line && column == other.column;
    }
  };

  void OnTextChanged();
  // Replaces the bytes [from, to) of the document as an engine write.
  void WriteRange(long from, long to, std::string_view text);
  long LineStart(int line) const;  // 1-based line
  long LineEnd(int line) const;    // position of the line's break (or document end)
  std::string_view LineBreakBytes() const;
  Caret CaretAt(long position) const;
  Caret CurrentCaret() const;
  Caret CurrentAnchor() const;
  long PositionOf(Caret caret) const;
  void PlaceCaret(Caret caret, bool scroll);
  // The selection from `anchor` to `caret`, by line and column.
  void PlaceSelection(Caret anchor, Caret caret, bool scroll);

  // One end of a selection followed through the engine's writes.
  struct SelectionEnd {
    Caret place;
    int from_end = 0;        // bytes between the end and its line's end
    bool rewritten = false;  // its line was replaced since
    bool document_start = false;
    bool document_end = false;
  };
  SelectionEnd TrackEnd(long position) const;
  long PositionOf(const SelectionEnd& end) const;
  // Moves the tracked ends for a line inserted before `line`, or for a deleted line.
  void LineInserted(int line);
  void LineDeleted(int line, bool last);
  void LineReplaced(int line);
  void BeginEngineWrite();
  void EndEngineWrite();

  QPointer<QsciScintilla> editor_;
  mutable std::string line_;  // backs the view Line() returns
  std::string scratch_;       // a line plus its break, for inserts
  bool user_modified_ = false;
  int engine_depth_ = 0;
  bool engine_wrote_ = false;
  bool scroll_to_caret_ = false;
  bool saved_undo_collection_ = true;
  unsigned long saved_event_mask_ = 0;
  Caret saved_caret_;
  Caret saved_anchor_;  // the selection's other end: a recalculation keeps the selection
  // While a selection is tracked through an outermost write scope.
  bool tracking_ = false;
  SelectionEnd tracked_anchor_;
  SelectionEnd tracked_caret_;
  // Where the last tracked write put the selection, and the line and column its caret end had
  // before the first of the writes: the engine puts the caret back by the place it read.
  long restored_caret_ = -1;
  long restored_anchor_ = -1;
  Caret caret_before_restore_;
};

}  // namespace numvex
