#pragma once

#include <QObject>

class QsciScintilla;

namespace numvex {

// The editor's option flags; the set is replaced whole by the settings.
enum EditorOption : unsigned {
  eoScrollPastEol = 1u << 0,
  eoSmartTabs = 1u << 1,
  eoAutoIndent = 1u << 2,
  eoTrimTrailingSpaces = 1u << 3,
  eoTabsToSpaces = 1u << 4,
  eoDragDropEditing = 1u << 5,
};
using EditorOptionSet = unsigned;

// Carries the option set over to the QScintilla editor: what the widget offers is switched
// there, the rest (smart tabs, trimming, no drag and drop) is done here on its events.
class EditorOptions : public QObject {
 public:
  explicit EditorOptions(QsciScintilla* editor);
  EditorOptionSet Options() const { return options_; }
  void SetOptions(EditorOptionSet options);
  // Widths below 1 keep the current one, as the editor does; huge ones are capped so that a
  // damaged setting cannot stall the drawing.
  void SetTabWidth(int width);
  // The lines trimming applies to (text editor mode; the tape formats its own lines).
  void SetTrimming(bool allowed) { trimming_allowed_ = allowed; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool SmartTab();
  void CaretMoved(int line);  // trims the line left when it was edited
  void TrimLine(int line);

  QsciScintilla* editor_;
  EditorOptionSet options_ = 0;
  bool trimming_allowed_ = false;
  int caret_line_ = 0;
  int edited_line_ = -1;  // the line the user typed in since the caret came to it
};

}  // namespace numvex
