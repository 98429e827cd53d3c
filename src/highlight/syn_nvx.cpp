#include "highlight/syn_nvx.h"

#include <cstdint>
#include <cstring>

#include "highlight/syn_nvx_chars.h"

namespace numvex {

namespace {

using nvx_chars::Has;
using nvx_chars::kHashValues;

// Tried in this order; a match needs equal length and equal hash values at every position.
constexpr std::array<std::string_view, 11> kFunctionNames = {
    "abs", "ln", "atan", "cos", "sin", "exp", "sqr", "round", "sqrt", "tan", "trunc"};

}  // namespace

// --- tables -----------------------------------------------------------------------------------

constexpr TSynhighNvx::HandlerTable TSynhighNvx::MakeHandlers() {
  HandlerTable t{};
  for (int c = 0; c < 256; ++c) {
    const auto b = static_cast<unsigned char>(c);
    Handler h = &Call<&TSynhighNvx::UnknownProc>;
    if (c == 0) {
      h = &Call<&TSynhighNvx::NullProc>;
    } else if (c == 10) {
      h = &Call<&TSynhighNvx::LineFeedProc>;
    } else if (c == 13) {
      h = &Call<&TSynhighNvx::CarriageReturnProc>;
    } else if (Has(b, nvx_chars::kWhite)) {
      h = &Call<&TSynhighNvx::SpaceProc>;
    } else if (Has(b, nvx_chars::kDigit)) {
      h = &Call<&TSynhighNvx::NumberProc>;
    } else if (Has(b, nvx_chars::kIdentStart)) {
      h = &Call<&TSynhighNvx::IdentProc>;
    } else if (b == nvx_chars::kCommentChar) {
      h = &Call<&TSynhighNvx::CommentProc>;
    } else if (b == '[') {
      h = &Call<&TSynhighNvx::LinkProc>;
    } else if (b == nvx_chars::kMarkChar) {
      h = &Call<&TSynhighNvx::MarkProc>;
    }
    t[static_cast<size_t>(c)] = h;
  }
  return t;
}

constexpr TSynhighNvx::ClassifierTable TSynhighNvx::MakeClassifiers() {
  // Every hash looks its word up the same way; the identifier scan indexes the table and
  // never has to test the hash itself.
  ClassifierTable t{};
  for (auto& entry : t) entry = &TSynhighNvx::ClassifyIdent;
  return t;
}

// Constant-initialised, so they are in place before any code of the process runs.
const TSynhighNvx::HandlerTable TSynhighNvx::kHandlers = TSynhighNvx::MakeHandlers();
const TSynhighNvx::ClassifierTable TSynhighNvx::kClassifiers = TSynhighNvx::MakeClassifiers();

// --- construction -----------------------------------------------------------------------------

TSynhighNvx::TSynhighNvx() {
  function_attri_ = AddAttribute("Function");
  identifier_attri_ = AddAttribute("Identifier");
  link_attri_ = AddAttribute("Link");
  comment_attri_ = AddAttribute("Comment");
  marked_line_attri_ = AddAttribute("Marked Line");
  key_attri_ = AddAttribute("Reserved word");
  key_attri_->SetStyle(fsBold);
  number_attri_ = AddAttribute("Number");
  neg_number_attri_ = AddAttribute("Negative Number");
  neg_number_attri_->SetForeground(clRed);
  space_attri_ = AddAttribute("Space");
  minus_line_attri_ = AddAttribute("MinusLine");
  variable_local_attri_ = AddAttribute("Local variable");
  variable_global_attri_ = AddAttribute("Global variable");
  FinishAttributes();  // bold keys and red negatives are defaults, not overrides

  kind_attri_ = {function_attri_,
                 identifier_attri_,
                 key_attri_,
                 link_attri_,
                 comment_attri_,
                 marked_line_attri_,
                 number_attri_,
                 neg_number_attri_,
                 space_attri_,
                 nullptr,
                 identifier_attri_,
                 variable_local_attri_,
                 variable_global_attri_};

  SetDefaultFilter(kDefaultFilter);
  range_ = kRangeNormal;
}

TSynHighlighterAttributes* TSynhighNvx::RoleAttribute(int role) const {
  switch (role) {
    case 1:
      return identifier_attri_;
    case 2:
      return key_attri_;
    default:
      return nullptr;
  }
}

TSynIdentChars TSynhighNvx::WordCharacters() const {
  TSynIdentChars chars;
  for (int c = 0; c < 256; ++c) {
    if (Has(static_cast<unsigned char>(c), nvx_chars::kIdentStart)) {
      chars.set(static_cast<size_t>(c));
    }
  }
  return chars;
}

std::string TSynhighNvx::SampleText() const { return "Sample source for: \r\nhighNvx Syntax"; }

std::string TSynhighNvx::TokenText() const {
  return std::string(line_ + token_pos_, static_cast<size_t>(run_ - token_pos_));
}

// --- scanning ---------------------------------------------------------------------------------

void TSynhighNvx::StartLine(const char* text, int line_number) {
  line_ = text != nullptr ? text : "";
  // The run scans read blocks of 16 bytes and must know where the line stops.
  end_ = static_cast<int>(std::strlen(line_));
  ident_map_state_ = kMapNotBuilt;
  run_ = 0;
  line_number_ = line_number;
  after_blank_ = false;
  minus_line_ = -1;
  NextToken();
}

// True when the line, stripped of bytes 1..32 at both ends, is at least two bytes long, starts
// with "-" and has no second "-": the shape of a tape line in the minus column.
bool TSynhighNvx::IsMinusLine(const char* line) {
  auto p = reinterpret_cast<const unsigned char*>(line);
  while (*p != 0 && *p <= ' ') ++p;
  if (*p != '-') return false;
  ++p;
  if (*p == '-') return false;
  // The stripped line is longer than the "-" alone only if something above a blank follows.
  for (; *p != 0; ++p) {
    if (*p > ' ') return true;
  }
  return false;
}

void TSynhighNvx::NullProc(int run) {
  kind_ = kEndOfLine;
  run_ = run;  // stays on the 0; a marked stretch may get here one byte past the token start
}

void TSynhighNvx::LineFeedProc(int run) {
  kind_ = InMarked() ? kMarked : kOther;
  run_ = run + 1;
}

void TSynhighNvx::CarriageReturnProc(int run) {
  if (InMarked()) {
    kind_ = kMarked;
    run_ = run + 1;
    return;
  }
  kind_ = kOther;
  run_ = run + (At(run + 1) == 10 ? 2 : 1);
}

void TSynhighNvx::SpaceProc(int run) {
  if (InMarked()) {
    kind_ = kMarked;
    run_ = run + 1;
    return;
  }
  kind_ = kSpace;
  // Most blanks stand alone between words: one byte test settles them.
  ++run;
  run_ = Has(At(run), nvx_chars::kWhite)
             ? nvx_chars::RunEnd<nvx_chars::WhiteRun>(Bytes(), run + 1, end_)
             : run;
  after_blank_ = true;
}

void TSynhighNvx::NumberProc(int run) {
  if (InMarked()) {
    kind_ = kMarked;
    run_ = run + 1;
    return;
  }
  // Glued to a word or a sign other than the arithmetic ones ("x=5", "a\t5"): one digit, plain.
  if (run > 0 && !Has(At(run - 1), nvx_chars::kNumberLead)) {
    kind_ = kOther;
    run_ = run + 1;
    return;
  }
  kind_ = after_blank_ && MinusLine() ? kNegativeNumber : kNumber;
  ++run;
  for (;;) {
    const unsigned char c = At(run);
    if (Has(c, nvx_chars::kDigit)) {
      ++run;
    } else if ((c == ',' || c == '.') && At(run + 1) != c) {
      ++run;  // a separator, but never a doubled one
    } else {
      break;
    }
  }
  run_ = run;
  after_blank_ = false;
}

void TSynhighNvx::IdentProc(int run) {
  if (InMarked()) {
    kind_ = kMarked;
    ++run;
    while (Has(At(run), nvx_chars::kMarkedChar)) ++run;
    if (At(run) == nvx_chars::kMarkChar) {
      MarkedScan(run);  // takes in the closing 160
    } else {
      run_ = run;
    }
    return;
  }
  const int start = run;
  if (ident_map_state_ == kMapNotBuilt) MapIdentifiers();
  run = ident_map_state_ == kMapBuilt
            ? ident_map_.RunEnd(run + 1)
            : nvx_chars::RunEnd<nvx_chars::IdentRun>(Bytes(), run + 1, end_);
  run_ = run;
  ident_start_ = start;
  ident_len_ = run - start;
  if (!highlight_vars_and_functions_) {
    // Every word is a plain identifier then, whatever its hash: skip the sum (the main
    // window's set-up, so this is the path the editor takes).
    kind_ = kIdentifier;
    return;
  }
  // 64 bits: even a line-long identifier cannot wrap round into the classified range.
  std::uint64_t hash = 0;
  for (int i = start; i < run; ++i) hash += kHashValues[At(i)];
  kind_ = hash > kMaxClassifiedHash ? kIdentifier : (this->*kClassifiers[hash])();
}

// Once per line, at its first word: lines of amounts, blanks and signs never pay for it. Kept
// out of IdentProc, whose every other call would otherwise save and restore the registers the
// block scan needs.
void TSynhighNvx::MapIdentifiers() {
  ident_map_state_ = ident_map_.Build(Bytes(), end_) ? kMapBuilt : kNoMap;
}

void TSynhighNvx::CommentProc(int run) {
  range_ = kRangeComment;
  kind_ = kComment;
  run_ = nvx_chars::RunEnd<nvx_chars::LineRun>(Bytes(), run + 1, end_);
}

void TSynhighNvx::LinkProc(int run) {
  ++run;
  range_ = kRangeLink;
  kind_ = kLink;
  unsigned char c = At(run);
  while (c != ']' && !Has(c, nvx_chars::kLineStop)) c = At(++run);
  if (c == ']') {
    ++run;
    range_ = kRangeNormal;
  }
  run_ = run;
}

void TSynhighNvx::MarkProc(int run) {
  range_ = kRangeMarked;
  MarkedScan(run + 1);
  // Opened and closed on one line the stretch reads as a word; left open it is marked text.
  kind_ = range_ == kRangeMarked ? kMarked : kIdentifier;
}

void TSynhighNvx::MarkedScan(int run) {
  unsigned char c = At(run);
  if (Has(c, nvx_chars::kLineStop)) {
    kHandlers[c](*this, run);
    return;
  }
  kind_ = kMarked;
  while (!Has(c, nvx_chars::kMarkStop)) c = At(++run);
  if (c == nvx_chars::kMarkChar) {
    ++run;
    range_ = kRangeNormal;
  }
  run_ = run;
}

void TSynhighNvx::UnknownProc(int run) {
  kind_ = kOther;
  run_ = run + 1;
}

// --- identifiers ------------------------------------------------------------------------------

bool TSynhighNvx::IdentEquals(std::string_view name) const {
  if (name.size() != static_cast<size_t>(ident_len_)) return false;
  const char* ident = line_ + ident_start_;
  for (size_t i = 0; i < name.size(); ++i) {
    if (kHashValues[static_cast<unsigned char>(ident[i])] !=
        kHashValues[static_cast<unsigned char>(name[i])]) {
      return false;
    }
  }
  return true;
}

TSynhighNvx::Kind TSynhighNvx::ClassifyIdent() const {
  if (!highlight_vars_and_functions_) return kIdentifier;
  for (std::string_view name : kFunctionNames) {
    if (IdentEquals(name)) return kFunction;
  }
  for (const std::string& name : local_variables_) {
    if (IdentEquals(name)) return kLocalVariable;
  }
  for (const std::string& name : global_variables_) {
    if (IdentEquals(name)) return kGlobalVariable;
  }
  return kIdentifier;
}

// --- the main window's instance ---------------------------------------------------------------

std::unique_ptr<TSynhighNvx> MakeMainWindowNvx() {
  auto nvx = std::make_unique<TSynhighNvx>();
  // Set after construction, as the window's settings are, so they count as overrides.
  nvx->CommentAttri()->SetForeground(clBlack);
  nvx->NumberAttri()->SetForeground(clNavy);
  nvx->SetHighlightVarsAndFunctions(false);
  return nvx;
}

}  // namespace numvex
