// Keypad and keyboard entry: what an operator, the total key and the clear key do
// to the tape around the caret.
#include <string>

#include "tape/tape_engine.h"

namespace numvex {

void TapeEngine::OperatorTyped() {
  if (!CalcMode) return;
  CaretPos caret = GetCaret();
  if (KindOf(caret.line) != lkNumber) return;
  std::string_view text = TrimTapeRight(buffer_.Line(caret.line));
  if (text.empty()) return;
  char c = text.back();
  if (static_cast<int>(text.size()) != caret.column || c != LastKeyChar || !IsOperatorChar(c)) {
    return;
  }
  ReformatEntryLine(caret.line);
  std::string next(6, ' ');
  next.push_back(c);
  next.push_back(' ');
  buffer_.InsertLine(caret.line + 1, next);
  SetCaret(caret.line + 1, 8);
}

void TapeEngine::TotalAt(TotalSender sender) {
  if (!CalcMode) return;
  CaretPos caret = GetCaret();
  int d = sender == TotalSender::Keypad ? 0 : 1;
  LineKind k0 = KindOf(caret.line - d);
  LineKind k1 = KindOf(caret.line - d - 1);
  LineKind k2 = KindOf(caret.line - d - 2);
  bool total = (k1 == lkNumber && (k0 == lkNumber || k0 == lkSeparator)) ||
               (k0 == lkEmpty && k1 == lkNumber && k2 == lkNumber);
  if (!total) {
    if (sender == TotalSender::Keypad) {
      buffer_.InsertLine(caret.line, "");
      caret = GetCaret();
    }
    SetCaret(caret.line, caret.column);
    return;
  }
  if (k0 == lkEmpty) ++d;
  int last_entry = caret.line - d;
  if (sender == TotalSender::Keypad) buffer_.InsertLine(last_entry + 1, "");
  buffer_.InsertLine(last_entry + 1, SeparatorLineText(Decimals()));
  RecalcBlock(last_entry);
  if (KindOf(last_entry + 2) != lkEmpty) buffer_.InsertLine(last_entry + 3, "");
  SetCaret(last_entry + 3, 0);
}

void TapeEngine::ClearKey() {
  CaretPos caret = GetCaret();
  int y = caret.line;
  if (y < 1 || y > buffer_.LineCount()) return;
  if (!buffer_.Line(y).empty()) {
    LineKind kind = KindOf(y);
    SetTapeLine(y, "");
    if (IsRunKind(kind)) RecalcBlock(y + 1);
    SetCaret(y, 0);
    return;
  }
  if (buffer_.LineCount() <= 1) return;
  buffer_.DeleteLine(y);
  if (y > 1) --y;
  if (IsRunKind(KindOf(y))) RecalcBlock(y);
  SetCaret(y, static_cast<int>(buffer_.Line(y).size()));
}

std::string TapeEngine::LinkAtCaret() const {
  CaretPos caret = GetCaret();
  if (caret.line < 1 || caret.line > buffer_.LineCount() || caret.column < 1) return {};
  std::string_view s = buffer_.Line(caret.line);
  size_t x = static_cast<size_t>(caret.column);
  size_t close = s.find(']', x);
  if (close == std::string_view::npos) return {};
  for (size_t i = std::min(x, s.size()); i-- > 0;) {
    if (s[i] == '[') return std::string(s.substr(i + 1, close - i - 1));
  }
  return {};
}

}  // namespace numvex
