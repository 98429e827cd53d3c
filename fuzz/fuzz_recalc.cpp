// A whole-tape recalculation of any tape: it deletes no line and changes only amount and
// separator lines (checked at every write by the buffer), leaves a valid caret, and a second
// pass, or a block recalculated afterwards, writes nothing.
#include <vector>

#include "fuzz_tape.h"

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
  numvex::InitTapeArithmetic();
  return 0;
}

// Input: a settings byte, a byte for the caret line and one for the line recalculated again,
// then the tape's text.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace numvex;
  fuzz::Bytes in(data, size);
  const TapeSettings settings = fuzz::SettingsOf(in.Take());
  const uint8_t caret_byte = in.Take();
  const uint8_t block_byte = in.Take();
  fuzz::CheckedBuffer buffer(fuzz::TapeLines(in.Rest()), settings.seps);
  fuzz::CheckedHost host(buffer);
  TapeEngine engine(buffer, host);
  engine.SetSettings(settings);
  buffer.SetCaretPos(1 + caret_byte % buffer.LineCount(), 0);

  engine.RecalcAll();
  buffer.CheckCaret();
  const std::vector<std::string> after = buffer.User().Lines();
  const long writes = buffer.User().WriteCount();

  engine.RecalcAll();
  FUZZ_CHECK(buffer.User().Lines() == after);
  engine.RecalcBlock(1 + block_byte % buffer.LineCount());
  FUZZ_CHECK(buffer.User().Lines() == after);
  FUZZ_CHECK(buffer.User().WriteCount() == writes);
  buffer.CheckCaret();
  return 0;
}
