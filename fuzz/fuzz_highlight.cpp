// Every highlighter on any document: each line's scan ends, its tokens tile the line up to its
// first byte 0 (each token starts where the last ended, none is empty, the end-of-line token
// has no length and stands at the end), and a fresh instance, also one started mid-document
// from the state saved there, scans the same tokens.
#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "highlight/syn_nvx.h"
#include "highlight/syn_zel_rep.h"

namespace numvex::fuzz {
namespace {

struct Token {
  int start;
  int length;
  int kind;
  bool operator==(const Token& o) const {
    return start == o.start && length == o.length && kind == o.kind;
  }
};

struct LineScan {
  std::vector<Token> tokens;
  TScanState end_state = 0;
  bool operator==(const LineScan& o) const {
    return tokens == o.tokens && end_state == o.end_state;
  }
};

// The highlighters as the program sets them up, by number.
std::unique_ptr<TSynCustomHighlighter> Make(int which) {
  switch (which) {
    case 0: {
      auto nvx = std::make_unique<TSynhighNvx>();
      nvx->LocalVariables() = {"net", "vat"};
      nvx->GlobalVariables() = {"total"};
      return nvx;
    }
    case 1:
      return MakeMainWindowNvx();
    case 2:
      return MakeSynOff();
    default:
      return MakeSynCalcNvx();
  }
}

int KindCount(int which) { return which < 2 ? TSynhighNvx::kKindCount : TzelRepSyn::kKindCount; }

LineScan Scan(TSynCustomHighlighter& hl, int which, const std::string& line, int number) {
  // A copy of exactly the line's size, so that a read past its byte 0 is caught.
  const size_t length = std::strlen(line.c_str());
  const std::unique_ptr<char[]> bytes(new char[length + 1]);
  std::memcpy(bytes.get(), line.c_str(), length + 1);
  LineScan scan;
  int end = 0;
  for (hl.StartLine(bytes.get(), number); !hl.AtLineEnd(); hl.NextToken()) {
    const Token token{hl.TokenStart(), hl.TokenLength(), hl.TokenKind()};
    FUZZ_CHECK(token.start == end && token.length > 0);
    FUZZ_CHECK(token.kind >= 0 && token.kind < KindCount(which));
    FUZZ_CHECK(hl.TokenAttribute() != nullptr);
    FUZZ_CHECK(hl.TokenText() ==
               std::string_view(bytes.get() + token.start, static_cast<size_t>(token.length)));
    end = token.start + token.length;
    FUZZ_CHECK(end <= static_cast<int>(length));
    scan.tokens.push_back(token);
  }
  FUZZ_CHECK(hl.TokenStart() == static_cast<int>(length) && hl.TokenLength() == 0);
  FUZZ_CHECK(end == static_cast<int>(length));
  scan.end_state = hl.ScanState();
  return scan;
}

// Scans lines [from, end) as the editor does, starting in `state` (or reset for line 1).
std::vector<LineScan> ScanDocument(TSynCustomHighlighter& hl, int which,
                                   const std::vector<std::string>& lines, size_t from,
                                   TScanState state) {
  std::vector<LineScan> scans;
  for (size_t i = from; i < lines.size(); ++i) {
    if (i == 0) {
      hl.ResetScanState();
    } else {
      hl.SetScanState(i == from ? state : scans.back().end_state);
    }
    scans.push_back(Scan(hl, which, lines[i], static_cast<int>(i + 1)));
  }
  return scans;
}

}  // namespace
}  // namespace numvex::fuzz

// Input: a byte choosing the highlighter, a byte choosing the line a fresh instance starts
// at, then the document, each line keeping its line feed (the scanners see line breaks).
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace numvex;
  fuzz::Bytes in(data, size);
  const int which = in.Below(4);
  const uint8_t restart_byte = in.Take();
  std::vector<std::string> lines(1);
  for (char c : in.Rest()) {
    lines.back() += c;
    if (c == '\n') lines.emplace_back();
  }

  auto first = fuzz::Make(which);
  const std::vector<fuzz::LineScan> scans = fuzz::ScanDocument(*first, which, lines, 0, 0);
  // The same instance again, now with a history.
  FUZZ_CHECK(fuzz::ScanDocument(*first, which, lines, 0, 0) == scans);
  FUZZ_CHECK(fuzz::ScanDocument(*fuzz::Make(which), which, lines, 0, 0) == scans);
  const size_t restart = restart_byte % lines.size();
  if (restart > 0) {
    const std::vector<fuzz::LineScan> tail =
        fuzz::ScanDocument(*fuzz::Make(which), which, lines, restart, scans[restart - 1].end_state);
    FUZZ_CHECK(std::equal(tail.begin(), tail.end(), scans.begin() + restart));
  }
  return 0;
}
