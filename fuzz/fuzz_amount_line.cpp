// One amount line read and written: with either separator convention and any number of
// decimals, a rewritten line rewrites to itself and is the line written for the amount read, a
// written amount reads back as the amount the writer reports, and the fast readers of canonical
// and of typed lines agree with the full rewrite.
#include <cmath>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "tape/canonical_entry.h"
#include "tape/line_kind.h"
#include "tape/tape_engine.h"
#include "tape/tape_line.h"

namespace numvex::fuzz {
namespace {

// Where the fast reader takes a line, the full rewrite leaves it as it is and reads the same.
void CheckFastReader(std::string_view line, const Separators& seps, int decimals) {
  TapeEntry fast;
  size_t amount_end = 0;
  if (!ReadCanonicalEntry(line, seps, decimals, &fast, &amount_end)) return;
  std::string full_text;
  bool division_by_zero = false;
  TapeEntry full =
      RewriteEntry(TrimTape(line), seps, decimals, true, &full_text, &division_by_zero);
  FUZZ_CHECK(full_text == line);
  FUZZ_CHECK(fast.op == full.op && fast.percent == full.percent);
  FUZZ_CHECK(fast.operation == full.operation);
  FUZZ_CHECK(fast.amount == full.amount && std::signbit(fast.amount) == std::signbit(full.amount));
  FUZZ_CHECK(DividesByZero(fast) == division_by_zero);
  const bool tail_keeps = AmountLineTail(line.substr(amount_end), seps);
  FUZZ_CHECK(tail_keeps == (ClassifyLine(TrimTape(line), seps) == lkNumber));
}

// Where the reader of typed lines takes a line, classifying and reading it give the same, and
// its entry is written as the full rewrite writes it.
void CheckTypedReader(std::string_view line, const Separators& seps, int decimals) {
  TapeEntry typed;
  DecimalAmount read;
  if (!ReadTypedEntry(line, seps, &typed, &read)) return;
  FUZZ_CHECK(ClassifyLine(TrimTape(line), seps) == lkNumber);
  const TapeEntry full = ReadEntry(TrimTape(line), seps, true);
  FUZZ_CHECK(typed.op == full.op && typed.percent == full.percent);
  FUZZ_CHECK(typed.operation == full.operation && typed.comment == full.comment);
  FUZZ_CHECK(typed.amount == full.amount &&
             std::signbit(typed.amount) == std::signbit(full.amount));
  std::string typed_text, full_text;
  bool typed_divides = false, full_divides = false;
  const TapeEntry written = WriteEntry(typed, read, seps, decimals, &typed_text, &typed_divides);
  const TapeEntry rewritten =
      RewriteEntry(TrimTape(line), seps, decimals, true, &full_text, &full_divides);
  FUZZ_CHECK(typed_text == full_text && typed_divides == full_divides);
  FUZZ_CHECK(written.amount == rewritten.amount);
}

// An amount line stays one when rewritten, and its rewrite is rewritten to itself.
void CheckRewrite(std::string_view line, const Separators& seps, int decimals) {
  CheckFastReader(line, seps, decimals);
  CheckTypedReader(line, seps, decimals);
  const std::string_view trimmed = TrimTape(line);
  if (ClassifyLine(trimmed, seps) != lkNumber) return;
  std::string once;
  bool once_divides = false;
  const TapeEntry first = RewriteEntry(trimmed, seps, decimals, true, &once, &once_divides);
  FUZZ_CHECK(ClassifyLine(TrimTape(once), seps) == lkNumber);
  // The rewrite lays out the digits it read where it can; writing the amount read gives the
  // same line.
  const TapeEntry read = ReadEntry(trimmed, seps, true);
  const char op = read.op == 0 && read.percent ? '*' : read.op;
  std::string written;
  const FormattedLine formatted =
      FormatTapeLine(op, read.percent, read.amount, read.comment, false, decimals, seps, &written);
  FUZZ_CHECK(written == once && formatted.division_by_zero == once_divides);
  FUZZ_CHECK(formatted.canonical == first.amount &&
             std::signbit(formatted.canonical) == std::signbit(first.amount));
  std::string twice;
  bool twice_divides = false;
  const TapeEntry second =
      RewriteEntry(TrimTape(once), seps, decimals, true, &twice, &twice_divides);
  FUZZ_CHECK(twice == once);
  FUZZ_CHECK(second.amount == first.amount && second.operation == first.operation);
  FUZZ_CHECK(once_divides == twice_divides);
  CheckFastReader(once, seps, decimals);
}

// Any finite amount written as an entry or a result reads back as the canonical amount the
// writer reports, which differs from the amount by no more than the rounding allows.
void CheckWrittenAmount(Bytes& in, const Separators& seps, int decimals) {
  const uint64_t mantissa = in.TakeU64();
  const unsigned raw_exp = static_cast<unsigned>(in.Take()) << 8 | in.Take();
  const int exp = static_cast<int>(raw_exp % 32829) - 16445 - 63;  // subnormal .. near the top
  const uint8_t flags = in.Take();
  Amount value = std::ldexp(static_cast<Amount>(mantissa), exp);
  if (flags & 1) value = -value;
  static const char kOps[] = {0, '+', '-', '*', '/', static_cast<char>(kDivisionSign)};
  static const char* const kComments[] = {"", "rent", "x -,5", "E5", "Overflow", "% off"};
  const char op = kOps[(flags >> 1) % 6];
  const bool percent = (flags & 0x10) != 0;
  const bool rounded = (flags & 0x20) != 0;
  const std::string_view comment = kComments[in.Below(6)];

  std::string text;
  const FormattedLine written =
      FormatTapeLine(op, percent, value, comment, rounded, decimals, seps, &text);
  const TapeEntry back = ReadEntry(TrimTape(text), seps, true);
  FUZZ_CHECK(back.op == (op != 0 ? op : value < 0 ? '-' : '+'));
  FUZZ_CHECK(back.percent == percent);
  FUZZ_CHECK(back.amount == written.canonical);
  const Amount magnitude = op == 0 ? std::fabs(value) : value;
  const Amount step = std::pow(10.0L, -(rounded ? decimals : 9));
  const Amount allowed = step / 2 * (1 + 1e-9L) + std::fabs(value) * 1e-14L;
  FUZZ_CHECK(std::fabs(written.canonical - magnitude) <= allowed);
  // The engine takes an unrounded result in fixed form for canonical without reading it.
  if (op == 0 && !percent && !rounded && written.fixed && FastReaderSeparators(seps)) {
    TapeEntry entry;
    size_t amount_end = 0;
    FUZZ_CHECK(ReadCanonicalEntry(text, seps, decimals, &entry, &amount_end));
    FUZZ_CHECK(entry.amount == written.canonical && !std::signbit(entry.amount));
    FUZZ_CHECK(amount_end == written.amount_end && entry.op == text[6]);
  }
  CheckRewrite(text, seps, decimals);
}

}  // namespace
}  // namespace numvex::fuzz

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
  numvex::InitTapeArithmetic();
  return 0;
}

// Input: a settings byte (convention, decimals), the amount to write (8 + 2 + 1 + 1 bytes),
// then a typed line.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace numvex;
  fuzz::Bytes in(data, size);
  const uint8_t settings = in.Take();
  const Separators seps = settings & 1 ? Separators{',', '.'} : Separators{'.', ','};
  const int decimals = (settings >> 1) % 10;
  fuzz::CheckWrittenAmount(in, seps, decimals);
  fuzz::CheckRewrite(in.Rest(), seps, decimals);
  return 0;
}
