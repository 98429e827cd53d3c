#pragma once

#include <QByteArray>
#include <QObject>

class QsciScintilla;
class QWidget;

namespace numvex {

class TfrmSearch;
class TfrmSearchReplace;

// Find, find next and find-and-replace in an editor. Searches run forward from the caret,
// without regard to case and without wrapping at the end; a match is selected and scrolled
// into view. The two windows are made here, as children of `window`, which also parents the
// messages; the editor must outlive this object.
class SearchController : public QObject {
  Q_OBJECT
 public:
  SearchController(QsciScintilla* editor, QWidget* window);

  TfrmSearch* FindDialog() const { return find_; }
  TfrmSearchReplace* ReplaceDialog() const { return replace_; }
  int ReplaceCount() const { return replace_count_; }

  // The find window, modal; its button runs Search().
  void ShowFind();
  // The replace window, modal; OK runs Replace().
  void ShowReplace();

  // Searches with the find window's text and options and keeps both for FindNext(). The
  // window closes afterwards if it says so.
  void Search();
  // The last search's text and options once more, from the caret. false: nothing found.
  bool FindNext();
  // Replaces as the replace window says, asking before each match if it says so, and
  // reports the count. All changes of one call are one undo step.
  void Replace();

 signals:
  // A search has run: FindNext() has something to look for.
  void searched();
  // Bracket the changes of one Replace(), which may wait for answers in between.
  void editsStarting();
  void editsFinished();

 private:
  struct Range {
    long start;
    long end;
  };

  QByteArray Bytes(const QString& text) const;
  bool FindIn(const QByteArray& what, int flags, long from, long to, Range* found) const;
  void Select(const Range& range) const;
  long Send(unsigned int message, unsigned long w = 0, long l = 0) const;

  QsciScintilla* editor_;
  QWidget* window_;
  TfrmSearch* find_;
  TfrmSearchReplace* replace_;
  QByteArray find_text_;  // of the last search
  int find_flags_ = 0;
  int replace_count_ = 0;
};

}  // namespace numvex
