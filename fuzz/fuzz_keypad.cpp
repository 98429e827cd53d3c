// The keys on any tape from any caret: typed characters, operators, the total key, Enter and
// the clear key. The engine deletes a line only for the clear key on an empty line and
// changes only amount and separator lines otherwise (checked at every write by the buffer),
// and the caret stays on the document after every key.
#include <algorithm>
#include <string>

#include "fuzz_tape.h"

namespace numvex::fuzz {
namespace {

// What the editor does with a typed character: it goes in at the caret.
void Type(CheckedBuffer& buffer, TapeEngine& engine, char c) {
  MemoryTapeBuffer& user = buffer.User();
  std::string line(user.Line(user.CaretLine()));
  const int column = user.CaretColumn();
  line.insert(static_cast<size_t>(column), 1, c);
  user.UserReplaceLine(user.CaretLine(), line);
  user.SetCaretPos(user.CaretLine(), column + 1);
  engine.LastKeyChar = c;
  // Releasing an operator key opens the next entry; any other key recalculates the run the
  // caret left.
  if (IsOperatorByte(c)) {
    engine.OperatorTyped();
  } else {
    engine.RecalcOnCaretLeave();
  }
}

// Enter in the editor: the line breaks at the caret, then the key's release asks for a total.
void Enter(CheckedBuffer& buffer, TapeEngine& engine) {
  MemoryTapeBuffer& user = buffer.User();
  const int y = user.CaretLine();
  const std::string line(user.Line(y));
  const size_t column = static_cast<size_t>(user.CaretColumn());
  user.UserReplaceLine(y, line.substr(0, column));
  user.InsertLine(y + 1, line.substr(column));
  user.SetModified(true);
  user.SetCaretPos(y + 1, 0);
  engine.LastKeyChar = '\r';
  engine.TotalAt(TotalSender::Editor);
}

void Press(Bytes& in, CheckedBuffer& buffer, TapeEngine& engine) {
  const int count_before = buffer.LineCount();
  const bool on_empty_line = buffer.Line(buffer.CaretLine()).empty();
  bool clear = false;
  switch (in.Below(8)) {
    case 0: {  // the caret moves (arrow keys or the mouse)
      const int line = 1 + static_cast<int>(in.Take()) % buffer.LineCount();
      const int length = static_cast<int>(buffer.Line(line).size());
      buffer.User().SetCaretPos(line, static_cast<int>(in.Take()) % (length + 1));
      engine.RecalcOnCaretLeave();
      break;
    }
    case 1: {  // any character but a line break
      const char c = static_cast<char>(in.Take());
      Type(buffer, engine, c == '\n' || c == '\r' ? ' ' : c);
      break;
    }
    case 2:
    case 3: {  // the keypad's keys and what tapes are made of
      static constexpr std::string_view kKeys = "0123456789.,% +-*/\xf7=E";
      Type(buffer, engine, kKeys[in.Below(static_cast<unsigned>(kKeys.size()))]);
      break;
    }
    case 4:
      engine.TotalAt(TotalSender::Keypad);
      break;
    case 5:
      Enter(buffer, engine);
      break;
    case 6:
      clear = true;
      buffer.AllowClearing(buffer.CaretLine());
      engine.ClearKey();
      buffer.AllowClearing(0);
      break;
    default:
      engine.RecalcAll();
      break;
  }
  buffer.CheckCaret();
  // Only the clear key on an empty line takes a line away, and only that one (the buffer
  // checks which); recomputing the run it joins may add a result again.
  if (clear && on_empty_line) {
    FUZZ_CHECK(buffer.LineCount() >= count_before - 1);
  } else {
    FUZZ_CHECK(buffer.LineCount() >= count_before);
  }
}

}  // namespace
}  // namespace numvex::fuzz

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
  numvex::InitTapeArithmetic();
  return 0;
}

// Input: a settings byte, a caret line and column byte, the tape's text up to a byte 0, then
// the keys (a byte for the key and, for some, a byte or two for what it types or where).
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace numvex;
  fuzz::Bytes in(data, size);
  const TapeSettings settings = fuzz::SettingsOf(in.Take());
  const uint8_t caret_line = in.Take();
  const uint8_t caret_column = in.Take();
  std::string_view rest = in.Rest();
  const size_t tape_end = std::min(rest.find('\0'), rest.size());
  fuzz::CheckedBuffer buffer(fuzz::TapeLines(rest.substr(0, tape_end)), settings.seps);
  fuzz::CheckedHost host(buffer);
  TapeEngine engine(buffer, host);
  engine.SetSettings(settings);
  const int line = 1 + caret_line % buffer.LineCount();
  buffer.User().SetCaretPos(line, caret_column % (static_cast<int>(buffer.Line(line).size()) + 1));

  const std::string_view keys = rest.substr(std::min(tape_end + 1, rest.size()));
  fuzz::Bytes key_bytes(reinterpret_cast<const uint8_t*>(keys.data()), keys.size());
  for (int n = 0; n < 64 && !key_bytes.Empty(); ++n) fuzz::Press(key_bytes, buffer, engine);
  return 0;
}
