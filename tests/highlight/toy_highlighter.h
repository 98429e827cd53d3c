#pragma once

// A small highlighter for testing the base class, the token dump and the sweep itself: runs of
// digits are kind 1, runs of letters kind 2, any other byte kind 3, end of line kind 0. The
// state counts "(" up and ")" down, so it goes negative. A fault can be switched on to prove
// that the sweep notices it.

#include <string>

#include "highlight/syn_highlighter.h"

namespace numvex::testing {

class ToyHighlighter : public TSynCustomHighlighter {
 public:
  enum Fault {
    kNoFault,
    kStallOnX,        // an "x" never advances: the scan does not end
    kSkipAfterBang,   // "!" jumps over the next byte without reporting it: a gap
    kCountsScans,     // the end state depends on how many lines the instance has scanned
    kEmptyTokenOnAt,  // "@" yields an empty token once, then goes on
  };

  explicit ToyHighlighter(Fault fault = kNoFault) : fault_(fault) {
    text_attri_ = AddAttribute("Text");
    digits_attri_ = AddAttribute("Digits");
    other_attri_ = AddAttribute("Other");
    digits_attri_->SetForeground(clBlue);  // a constructor colour: must become the default
    FinishAttributes();
  }

  TSynHighlighterAttributes* DigitsAttri() const { return digits_attri_; }
  TSynHighlighterAttributes* TextAttri() const { return text_attri_; }

  TSynHighlighterAttributes* RoleAttribute(int role) const override {
    return role == 1 ? text_attri_ : nullptr;
  }
  bool AtLineEnd() const override { return kind_ == 0; }
  TScanState ScanState() const override { return state_; }
  std::string TokenText() const override {
    return std::string(line_ + start_, run_ - start_ - hidden_);
  }
  TSynHighlighterAttributes* TokenAttribute() const override {
    switch (kind_) {
      case 1:
        return digits_attri_;
      case 2:
        return text_attri_;
      case 3:
        return other_attri_;
      default:
        return nullptr;
    }
  }
  int TokenKind() const override { return kind_; }
  int TokenStart() const override { return start_; }
  void NextToken() override {
    start_ = run_;
    hidden_ = 0;
    const char c = line_[run_];
    if (c == 0) {
      kind_ = 0;
    } else if (fault_ == kStallOnX && c == 'x') {
      kind_ = 2;
    } else if (fault_ == kEmptyTokenOnAt && c == '@' && !empty_given_) {
      empty_given_ = true;
      kind_ = 3;
    } else if (c >= '0' && c <= '9') {
      kind_ = 1;
      while (line_[run_] >= '0' && line_[run_] <= '9') ++run_;
    } else if (IsLetter(c)) {
      kind_ = 2;
      while (IsLetter(line_[run_])) ++run_;
    } else {
      kind_ = 3;
      if (c == '(') ++state_;
      if (c == ')') --state_;
      ++run_;
      if (fault_ == kSkipAfterBang && c == '!' && line_[run_] != 0) {
        ++run_;
        hidden_ = 1;
      }
    }
  }
  void StartLine(const char* text, int /*line_number*/) override {
    line_ = text;
    run_ = 0;
    empty_given_ = false;
    if (fault_ == kCountsScans) state_ += ++scans_;
    NextToken();
  }
  void SetScanState(TScanState state) override { state_ = state; }
  void ResetScanState() override { state_ = 0; }

  // Left to the base (which goes through `TokenText`) on purpose, so the base is tested too.
  using TSynCustomHighlighter::TokenLength;

 private:
  static bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

  Fault fault_;
  TSynHighlighterAttributes* text_attri_;
  TSynHighlighterAttributes* digits_attri_;
  TSynHighlighterAttributes* other_attri_;
  const char* line_ = "";
  int run_ = 0;
  int start_ = 0;
  int kind_ = 0;
  int hidden_ = 0;  // bytes scanned past but left out of the token (kSkipAfterBang)
  TScanState state_ = 0;
  bool empty_given_ = false;
  long scans_ = 0;
};

}  // namespace numvex::testing
