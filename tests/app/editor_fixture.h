#pragma once

#include <Qsci/qsciscintilla.h>
#include <gtest/gtest.h>

#include <QFont>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/editor_widget.h"
#include "tape/tape_buffer.h"

namespace numvex::testing {

using Sci = QsciScintillaBase;
using Tape = std::vector<std::string>;

// An editor set up as the window sets up its tape editor: the program's editor widget, 8-bit
// text, Courier New 13 px.
inline std::unique_ptr<QsciScintilla> MakeEditor() {
  std::unique_ptr<QsciScintilla> editor = std::make_unique<EditorWidget>();
  editor->setUtf8(false);
  QFont font("Courier New");
  font.setPixelSize(13);
  font.setStyleHint(QFont::Monospace);
  editor->setFont(font);
  editor->resize(400, 300);
  editor->show();
  editor->setFocus();
  return editor;
}

inline std::string EditorBytes(const QsciScintilla& editor) {
  std::string bytes(static_cast<size_t>(editor.SendScintilla(Sci::SCI_GETLENGTH)) + 1, '\0');
  editor.SendScintilla(Sci::SCI_GETTEXT, bytes.size(), bytes.data());
  bytes.pop_back();  // the terminating zero
  return bytes;
}

// Replaces the editor's text with raw bytes (no conversion of any kind).
inline void SetEditorBytes(QsciScintilla& editor, std::string_view bytes) {
  editor.SendScintilla(Sci::SCI_SETTARGETRANGE, 0UL, editor.SendScintilla(Sci::SCI_GETLENGTH));
  editor.SendScintilla(Sci::SCI_REPLACETARGET, static_cast<uintptr_t>(bytes.size()),
                       bytes.empty() ? "" : bytes.data());
}

inline std::string Join(const Tape& lines, std::string_view brk) {
  std::string out;
  for (size_t i = 0; i < lines.size(); ++i) out.append(i > 0 ? brk : "").append(lines[i]);
  return out;
}

inline Tape LinesOf(const TapeBuffer& buffer) {
  Tape lines;
  for (int i = 1; i <= buffer.LineCount(); ++i) lines.emplace_back(buffer.Line(i));
  return lines;
}

inline long PositionOf(const QsciScintilla& editor, int line, int column) {
  return editor.SendScintilla(Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line - 1)) +
         column;
}

inline bool CanUndo(const QsciScintilla& e) { return e.SendScintilla(Sci::SCI_CANUNDO) != 0; }

}  // namespace numvex::testing
