#include "highlight/syn_nvx.h"

#include <cstdint>

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
    Handler h = &TSynhighNvx::UnknownProc;
    if (c == 0) {
      h = &TSynhighNvx::NullProc;
    } else if (c == 10) {
      h = &TSynhighNvx::LineFeedProc;
    } else if (c == 13) {
      h = &TSynhighNvx::CarriageReturnProc;
    } else if (Has(b, nvx_chars::kWhite)) {
      h = &TSynhighNvx::SpaceProc;
    } else if (Has(b, nvx_chars::kDigit)) {
      h = &TSynhighNvx::NumberProc;
    } else if (Has(b, nvx_chars::kIdentStart)) {
      h = &TSynhighNvx::IdentProc;
    } else if (b == nvx_chars::kCommentChar) {
      h = &TSynhighNvx::CommentProc;
    } else if (b == '[') {
      h = &TSynhighNvx::LinkProc;
    } else if (b == nvx_chars::kMarkChar) {
      h = &TSynhighNvx::MarkProc;
    }
    t[static_cast<size_t>(c)] = h;
  }
  return t;
}

constexpr TSynhighNvx::ClassifierTable TSynhighNvx::MakeClassifiers() {
  // The language has one kind of lookup for every hash; the table keeps the door open for
  // hash-specific word lists without touching the scanner.
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
  run_ = 0;
  line_number_ = line_number;
  negative_ = false;
  minus_line_ = IsMinusLine(line_);
  NextToken();
}

void TSynhighNvx::NextToken() {
  token_pos_ = run_;
  (this->*kHandlers[At(run_)])();
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

void TSynhighNvx::NullProc() { kind_ = kEndOfLine; }

void TSynhighNvx::LineFeedProc() {
  kind_ = InMarked() ? kMarked : kOther;
  ++run_;
}

void TSynhighNvx::CarriageReturnProc() {
  if (InMarked()) {
    kind_ = kMarked;
    ++run_;
    return;
  }
  kind_ = kOther;
  ++run_;
  if (At(run_) == 10) ++run_;
}

void TSynhighNvx::SpaceProc() {
  if (InMarked()) {
    kind_ = kMarked;
    ++run_;
    return;
  }
  kind_ = kSpace;
  ++run_;
  while (Has(At(run_), nvx_chars::kWhite)) ++run_;
  negative_ = minus_line_;
}

void TSynhighNvx::NumberProc() {
  if (InMarked()) {
    kind_ = kMarked;
    ++run_;
    return;
  }
  // Glued to a word or a sign other than the arithmetic ones ("x=5", "a\t5"): one digit, plain.
  if (run_ > 0 && !Has(At(run_ - 1), nvx_chars::kNumberLead)) {
    kind_ = kOther;
    ++run_;
    return;
  }
  ++run_;
  kind_ = negative_ ? kNegativeNumber : kNumber;
  for (;;) {
    const unsigned char c = At(run_);
    if (Has(c, nvx_chars::kDigit)) {
      ++run_;
    } else if ((c == ',' || c == '.') && At(run_ + 1) != c) {
      ++run_;  // a separator, but never a doubled one
    } else {
      break;
    }
  }
  negative_ = false;
}

void TSynhighNvx::IdentProc() {
  if (InMarked()) {
    kind_ = kMarked;
    ++run_;
    while (Has(At(run_), nvx_chars::kMarkedChar)) ++run_;
    if (At(run_) == nvx_chars::kMarkChar) MarkedScan();  // takes in the closing 160
    return;
  }
  ident_start_ = run_;
  if (!highlight_vars_and_functions_) {
    // Every word is a plain identifier then, whatever its hash: skip the sum (the main
    // window's set-up, so this is the path the editor takes).
    while (Has(At(run_), nvx_chars::kIdentChar)) ++run_;
    ident_len_ = run_ - ident_start_;
    kind_ = kIdentifier;
    return;
  }
  // 64 bits: even a line-long identifier cannot wrap round into the classified range.
  std::uint64_t hash = 0;
  unsigned char c = At(run_);
  while (Has(c, nvx_chars::kIdentChar)) {
    hash += kHashValues[c];
    c = At(++run_);
  }
  ident_len_ = run_ - ident_start_;
  kind_ = hash > kMaxClassifiedHash ? kIdentifier : (this->*kClassifiers[hash])();
}

void TSynhighNvx::CommentProc() {
  ++run_;
  range_ = kRangeComment;
  kind_ = kComment;
  while (!Has(At(run_), nvx_chars::kLineStop)) ++run_;
}

void TSynhighNvx::LinkProc() {
  ++run_;
  range_ = kRangeLink;
  kind_ = kLink;
  unsigned char c = At(run_);
  while (c != ']' && !Has(c, nvx_chars::kLineStop)) c = At(++run_);
  if (c == ']') {
    ++run_;
    range_ = kRangeNormal;
  }
}

void TSynhighNvx::MarkProc() {
  ++run_;
  range_ = kRangeMarked;
  MarkedScan();
  // Opened and closed on one line the stretch reads as a word; left open it is marked text.
  kind_ = range_ == kRangeMarked ? kMarked : kIdentifier;
}

void TSynhighNvx::MarkedScan() {
  unsigned char c = At(run_);
  if (Has(c, nvx_chars::kLineStop)) {
    (this->*kHandlers[c])();
    return;
  }
  kind_ = kMarked;
  while (!Has(c, nvx_chars::kMarkStop)) c = At(++run_);
  if (c == nvx_chars::kMarkChar) {
    ++run_;
    range_ = kRangeNormal;
  }
}

void TSynhighNvx::UnknownProc() {
  kind_ = kOther;
  ++run_;
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
  // Set after construction, as a window description does, so they count as overrides.
  nvx->CommentAttri()->SetForeground(clBlack);
  nvx->NumberAttri()->SetForeground(clNavy);
  nvx->SetHighlightVarsAndFunctions(false);
  return nvx;
}

}  // namespace numvex
