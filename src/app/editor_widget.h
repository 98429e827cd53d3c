#pragma once

#include <Qsci/qsciscintilla.h>

#include <string>
#include <vector>

namespace numvex {

// The program's editor. The component's accessibility bridge turns every insertion and
// deletion it reports (SC_MOD_INSERTTEXT, SC_MOD_DELETETEXT) into a character offset counted
// from the start of the document, whether or not an assistive technology listens: a key near
// the end of a 100 MB document costs a pass over all of it. While no assistive technology is
// active, a key or an input-method event runs with those two reports held back (the "before"
// reports still go out as they happen); once the event is handled, each change it made is
// reported in order through SCN_MODIFIED (and SCEN_CHANGE, so textChanged() and
// linesChanged() too) with its position, type, text, length and lines added, the flags that
// tell who performed it included. Not reported again: the start-of-action and multi-step
// undo flags, which nothing here reads, and changes made while someone else narrowed the
// event mask (the tape engine's writes, which are announced to nobody).
//
// The component also tells of every caret move (cursorPositionChanged) with the character
// index in the line, counted from the line's start one call at a time: on a line of ten million
// bytes, ten million calls at each key. The widget reports it itself, as the byte distance in a
// single-byte document and with one count of Scintilla's in UTF-8. The component's handler
// also matched braces, which the program does not use.
class EditorWidget : public QsciScintilla {
  Q_OBJECT

 public:
  explicit EditorWidget(QWidget* parent = nullptr);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;

 private:
  struct Change {
    long position = 0;
    int type = 0;  // SC_MOD_INSERTTEXT or SC_MOD_DELETETEXT, with who performed it
    long length = 0;
    long lines_before = 0;
    long lines_after = 0;
    std::string text;  // a deletion's, read before it goes; an insertion's, once it is done
  };

  template <typename Handle>
  void Quietly(Handle handle);
  void OnModified(int position, int type, int length);
  void ReportCaret();
  void FinishLastChange();
  std::string TextRange(long position, long length) const;

  unsigned long saved_mask_ = 0;
  unsigned long quiet_mask_ = 0;
  bool quiet_ = false;
  bool last_finished_ = true;
  std::vector<Change> changes_;
  long reported_caret_ = -1;
};

}  // namespace numvex
