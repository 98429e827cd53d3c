#include "highlight/syn_zel_rep.h"

namespace numvex {

namespace {

// Character classes shared by every instance. They are fixed, so the compiler builds them once
// for the whole program and no instance pays for them.
struct CharTables {
  std::array<bool, 256> ident{};         // "0".."9", "A".."Z", "_", "a".."z"
  std::array<bool, 256> blank{};         // 1..9, 11, 12, 14..32: line breaks are not blanks here
  std::array<std::uint8_t, 256> hash{};  // letter position either case, 31 for "_", else 0
  // The identifier scan reads one table per byte: the hash value, or kNotIdent.
  std::array<std::uint8_t, 256> ident_hash{};
  std::array<bool, 256> number{};        // what may follow the first digit: digits, "," and "."
  std::array<bool, 256> comment_stop{};  // bytes a comment scan has to look at: 0, 10, 13, "*"
};
constexpr std::uint8_t kNotIdent = 0xFF;

constexpr CharTables MakeCharTables() {
  CharTables t;
  for (int c = 0; c < 256; ++c) {
    const bool upper = c >= 'A' && c <= 'Z';
    const bool lower = c >= 'a' && c <= 'z';
    const bool digit = c >= '0' && c <= '9';
    t.ident[c] = upper || lower || digit || c == '_';
    t.blank[c] = c >= 1 && c <= 32 && c != 10 && c != 13;
    if (upper) t.hash[c] = static_cast<std::uint8_t>(c - 'A' + 1);
    if (lower) t.hash[c] = static_cast<std::uint8_t>(c - 'a' + 1);
    if (c == '_') t.hash[c] = 31;
    t.ident_hash[c] = t.ident[c] ? t.hash[c] : kNotIdent;
    t.number[c] = digit || c == ',' || c == '.';
    t.comment_stop[c] = c == 0 || c == 10 || c == 13 || c == '*';
  }
  return t;
}

constexpr CharTables kChars = MakeCharTables();

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool IsLineBreak(unsigned char c) { return c == 10 || c == 13; }

}  // namespace

TzelRepSyn::TzelRepSyn() {
  comment_attri_ = AddAttribute("Comment");
  directive_attri_ = AddAttribute("Preprocessor");
  error_attri_ = AddAttribute("Illegal char");
  identifier_attri_ = AddAttribute("Identifier");
  key_attri_ = AddAttribute("Reserved word");
  number_attri_ = AddAttribute("Number");
  space_attri_ = AddAttribute("Space");
  string_attri_ = AddAttribute("String");
  FinishAttributes();
  BuildTables();
  SetDefaultFilter("All files (*.*)|*.*");
  range_ = kRangeBase;
}

void TzelRepSyn::BuildTables() {
  for (int c = 0; c < 256; ++c) {
    Handler h = &TzelRepSyn::UnknownProc;
    if (kChars.blank[c]) {
      h = &TzelRepSyn::SpaceProc;
    } else if (IsDigit(static_cast<unsigned char>(c))) {
      h = &TzelRepSyn::NumberProc;
    } else if (kChars.ident[c]) {
      h = &TzelRepSyn::IdentProc;
    }
    handlers_[c] = h;
  }
  handlers_[0] = &TzelRepSyn::NullProc;
  handlers_[10] = &TzelRepSyn::LineFeedProc;
  handlers_[13] = &TzelRepSyn::CarriageReturnProc;
  handlers_['"'] = &TzelRepSyn::StringProc;
  handlers_['#'] = &TzelRepSyn::DirectiveProc;
  handlers_['('] = &TzelRepSyn::RoundOpenProc;
  handlers_[')'] = &TzelRepSyn::RoundCloseProc;
  handlers_[';'] = &TzelRepSyn::SemicolonProc;
  handlers_['/'] = &TzelRepSyn::SlashProc;

  classifiers_.fill(&TzelRepSyn::PlainIdentifier);

  kind_attri_ = {comment_attri_, directive_attri_, error_attri_,  identifier_attri_,
                 key_attri_,     nullptr,          number_attri_, space_attri_,
                 string_attri_,  identifier_attri_};
}

TSynHighlighterAttributes* TzelRepSyn::RoleAttribute(int role) const {
  switch (role) {
    case 0:
      return comment_attri_;
    case 1:
      return identifier_attri_;
    case 2:
      return key_attri_;
    case 3:
      return string_attri_;
    case 4:
      return space_attri_;
    default:
      return nullptr;
  }
}

TSynIdentChars TzelRepSyn::WordCharacters() const {
  TSynIdentChars chars;
  for (size_t c = 0; c < 256; ++c) chars[c] = kChars.ident[c];
  return chars;
}

std::string TzelRepSyn::TokenText() const {
  return std::string(line_ + token_pos_, static_cast<size_t>(run_ - token_pos_));
}

void TzelRepSyn::StartLine(const char* text, int line_number) {
  line_ = text != nullptr ? text : "";
  line_number_ = line_number;
  run_ = 0;
  first_nonblank_ = -1;
  NextToken();
}

// Each handler gets the scan position (the token start) in `run` and stores the position past
// its token in run_. Keeping the position in a local matters: the line is char data, which may
// alias any member, so updating run_ byte by byte would cost a store per byte.

void TzelRepSyn::NullProc(int /*run*/) { kind_ = kEndOfLine; }

void TzelRepSyn::LineFeedProc(int run) {
  kind_ = kWhitespace;
  run_ = run + 1;
}

void TzelRepSyn::CarriageReturnProc(int run) {
  kind_ = kWhitespace;
  run_ = run + (At(run + 1) == 10 ? 2 : 1);
}

void TzelRepSyn::SpaceProc(int run) {
  kind_ = kWhitespace;
  ++run;
  while (kChars.blank[At(run)]) ++run;
  run_ = run;
}

void TzelRepSyn::NumberProc(int run) {
  kind_ = kNumber;
  ++run;
  // Separators of either convention belong to the number, a doubled one never does.
  for (unsigned char c; kChars.number[c = At(run)]; ++run) {
    if (!IsDigit(c) && At(run + 1) == c) break;
  }
  run_ = run;
}

void TzelRepSyn::IdentProc(int run) {
  ident_start_ = run;
  // 64 bits: not even a line of 2 GB of "_" overflows the sum.
  std::uint64_t hash = 0;
  for (std::uint8_t h; (h = kChars.ident_hash[At(run)]) != kNotIdent; ++run) hash += h;
  run_ = run;
  ident_len_ = run - ident_start_;
  kind_ = hash < kClassifierCount ? (this->*classifiers_[hash])() : kIdentifier;
}

void TzelRepSyn::StringProc(int run) {
  kind_ = kString;
  if (At(run + 1) == '"' && At(run + 2) == '"') run += 2;
  for (;;) {
    const unsigned char c = At(run);
    if (c == 0 || IsLineBreak(c)) break;
    if (c == '\\') {
      // A backslash carries the string over an embedded line feed and past an escaped quote.
      if (At(run + 1) == 10) ++run;
      if (At(run + 1) == '"') ++run;
    }
    ++run;
    if (At(run) == '"') break;
  }
  // The closing quote, or the line break an unterminated string stopped at.
  if (At(run) != 0) ++run;
  run_ = run;
}

bool TzelRepSyn::OnlyBlanksBefore(int pos) {
  if (first_nonblank_ < 0) {
    // Found once per line: a run of "#=#=" after a long indent stays linear.
    int i = 0;
    while (kChars.blank[At(i)]) ++i;
    first_nonblank_ = i;
  }
  return first_nonblank_ >= pos;
}

void TzelRepSyn::DirectiveProc(int run) {
  if (!OnlyBlanksBefore(run)) {
    kind_ = kError;
    run_ = run + 1;
    return;
  }
  kind_ = kDirective;
  for (;;) {
    const unsigned char c = At(run);
    if (c == 0 || IsLineBreak(c)) break;
    ++run;
    if (At(run) == '=') break;
  }
  run_ = run;
}

void TzelRepSyn::RoundOpenProc(int run) {
  kind_ = kOther;
  run_ = run + 1;
  // The count stops short of the comment band: 40000 unclosed "(" must not turn the rest of the
  // document into a comment.
  if (range_ + 1 < kRangeComment) ++range_;
}

void TzelRepSyn::RoundCloseProc(int run) {
  run_ = run + 1;
  // Compared before counting down, so a state handed in from outside cannot underflow.
  if (range_ > kRangeBase) {
    --range_;
    kind_ = kOther;
  } else {
    kind_ = kError;
    range_ = kRangeError;
  }
}

void TzelRepSyn::SemicolonProc(int run) {
  run_ = run + 1;
  kind_ = range_ > kRangeBase ? kError : kOther;
  range_ = kRangeBase;
}

void TzelRepSyn::SlashProc(int run) {
  if (At(run + 1) != '*') {
    kind_ = kOther;
    run_ = run + 1;
    return;
  }
  kind_ = kComment;
  // Starting on the "*" of the opener, so "/*/" closes at once.
  const int end = CommentEnd(run + 1);
  if (end >= 0) {
    run_ = end;
  } else {
    run_ = -end - 1;
    range_ += kRangeComment;
  }
}

void TzelRepSyn::UnknownProc(int run) {
  kind_ = kOther;
  run_ = run + 1;
}

void TzelRepSyn::CommentContinueProc(int run) {
  const unsigned char first = At(run);
  if (first == 0 || IsLineBreak(first)) {
    // The empty rest of a line is the end-of-line token, not a comment.
    (this->*handlers_[first])(run);
    return;
  }
  kind_ = kComment;
  const int end = CommentEnd(run);
  if (end >= 0) {
    // Closed on a later line: the nesting before the comment is forgotten.
    run_ = end;
    range_ = kRangeBase;
  } else {
    run_ = -end - 1;
  }
}

int TzelRepSyn::CommentEnd(int from) const {
  int run = from;
  for (;;) {
    while (!kChars.comment_stop[At(run)]) ++run;
    const unsigned char c = At(run);
    if (c == '*') {
      if (At(run + 1) == '/') return run + 2;
      ++run;
    } else {
      return -run - 1;  // at a byte 0 or a line break
    }
  }
}

std::unique_ptr<TzelRepSyn> MakeSynOff() { return std::make_unique<TzelRepSyn>(); }

std::unique_ptr<TzelRepSyn> MakeSynCalcNvx() {
  auto syn = std::make_unique<TzelRepSyn>();
  syn->KeyAttri()->SetStyle(fsBold);
  syn->NumberAttri()->SetForeground(clNavy);
  return syn;
}

}  // namespace numvex
