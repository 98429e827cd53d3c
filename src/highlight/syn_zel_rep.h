#pragma once

// The report-syntax highlighter: numbers, whitespace, /* block comments */, "strings", a
// "#directive" at the start of a line, and a check of parenthesis nesting. The main window uses
// it uncoloured for plain text and, on the tape editor before calc mode takes over, with bold
// keys and navy numbers.

#include <array>
#include <memory>
#include <string>

#include "highlight/syn_highlighter.h"

namespace numvex {

class TzelRepSyn : public TSynCustomHighlighter {
 public:
  // Token kinds, the values of `TokenKind`.
  enum Kind : int {
    kComment = 0,
    kDirective = 1,
    kError = 2,
    kIdentifier = 3,
    kReservedWord = 4,  // registered for role 2; the language has no word that scans as one
    kEndOfLine = 5,
    kNumber = 6,
    kWhitespace = 7,
    kString = 8,
    kOther = 9,
  };
  static constexpr int kKindCount = 10;

  // Range values (the scan state). 10000 + n: n parentheses open; 0: a ")" had no "(" (an "("
  // in that state counts up from 0); a block comment adds kRangeComment to the value it opened
  // in. The count of open parentheses stops at kRangeComment - 1.
  static constexpr TScanState kRangeBase = 10000;
  static constexpr TScanState kRangeError = 0;
  static constexpr TScanState kRangeComment = 50000;

  // Identifiers whose hash is below this are looked up in the classifier table.
  static constexpr int kClassifierCount = 100;

  TzelRepSyn();

  static TSynHighlighterCapabilities ClassPresetCapabilities() {
    return TSynCustomHighlighter::ClassPresetCapabilities() | hcUserSettings;
  }
  static std::string ClassLanguageName() { return "zel Report Syntax"; }

  TSynHighlighterAttributes* CommentAttri() const { return comment_attri_; }
  TSynHighlighterAttributes* DirectiveAttri() const { return directive_attri_; }
  TSynHighlighterAttributes* ErrorAttri() const { return error_attri_; }
  TSynHighlighterAttributes* IdentifierAttri() const { return identifier_attri_; }
  TSynHighlighterAttributes* KeyAttri() const { return key_attri_; }
  TSynHighlighterAttributes* NumberAttri() const { return number_attri_; }
  TSynHighlighterAttributes* SpaceAttri() const { return space_attri_; }
  TSynHighlighterAttributes* StringAttri() const { return string_attri_; }

  TSynHighlighterAttributes* RoleAttribute(int role) const override;
  TSynIdentChars WordCharacters() const override;
  TSynHighlighterCapabilities PresetCapabilities() const override {
    return ClassPresetCapabilities();
  }
  std::string LanguageName() const override { return ClassLanguageName(); }
  bool AtLineEnd() const override { return kind_ == kEndOfLine; }
  TScanState ScanState() const override { return range_; }
  std::string TokenText() const override;
  TSynHighlighterAttributes* TokenAttribute() const override { return kind_attri_[kind_]; }
  int TokenKind() const override { return kind_; }
  int TokenStart() const override { return token_pos_; }
  // Inline: a caller that knows the type pays only for the one indexed handler call.
  void NextToken() override {
    const int run = run_;
    token_pos_ = run;
    if (range_ >= kRangeComment) {
      CommentContinueProc(run);
    } else {
      (this->*handlers_[At(run)])(run);
    }
  }
  void StartLine(const char* text, int line_number) override;
  void SetScanState(TScanState state) override { range_ = state; }
  void ResetScanState() override { range_ = kRangeBase; }
  int TokenLength() const override { return run_ - token_pos_; }

  // The number given to the last `StartLine`.
  int LineNumber() const { return line_number_; }

 private:
  using Handler = void (TzelRepSyn::*)(int run);
  using Classifier = Kind (TzelRepSyn::*)();

  void BuildTables();
  unsigned char At(int pos) const { return static_cast<unsigned char>(line_[pos]); }

  // One handler per byte value; `run` is the token start, the handler leaves run_ past the token.
  void NullProc(int run);
  void LineFeedProc(int run);
  void CarriageReturnProc(int run);
  void SpaceProc(int run);
  void NumberProc(int run);
  void IdentProc(int run);
  void StringProc(int run);
  void DirectiveProc(int run);
  void RoundOpenProc(int run);
  void RoundCloseProc(int run);
  void SemicolonProc(int run);
  void SlashProc(int run);
  void UnknownProc(int run);
  // Runs when a line starts (or goes on) inside a block comment.
  void CommentContinueProc(int run);

  // Every hash below kClassifierCount lands here: no word of the language is reserved.
  Kind PlainIdentifier() { return kIdentifier; }

  bool OnlyBlanksBefore(int pos);
  // Scans a block comment from `from` up to its closer. Returns the offset past "*/", or, when
  // the line ends first, -1 - the offset of the byte 0 or line break it stopped at.
  int CommentEnd(int from) const;

  TSynHighlighterAttributes* comment_attri_ = nullptr;
  TSynHighlighterAttributes* directive_attri_ = nullptr;
  TSynHighlighterAttributes* error_attri_ = nullptr;
  TSynHighlighterAttributes* identifier_attri_ = nullptr;
  TSynHighlighterAttributes* key_attri_ = nullptr;
  TSynHighlighterAttributes* number_attri_ = nullptr;
  TSynHighlighterAttributes* space_attri_ = nullptr;
  TSynHighlighterAttributes* string_attri_ = nullptr;

  std::array<Handler, 256> handlers_{};
  std::array<Classifier, kClassifierCount> classifiers_{};
  std::array<TSynHighlighterAttributes*, kKindCount> kind_attri_{};

  const char* line_ = "";
  int run_ = 0;
  int token_pos_ = 0;
  Kind kind_ = kEndOfLine;
  int ident_start_ = 0;
  int ident_len_ = 0;
  int line_number_ = 0;
  int first_nonblank_ = -1;  // offset of the line's first non-blank byte; -1: not yet known
  TScanState range_ = kRangeBase;
};

// The two instances the main window holds: `SynOff` with every attribute at its default, and
// `SynCalcNvx` with a bold `KeyAttri` and a navy `NumberAttri` (set after construction, as the
// window's settings are, so they are overrides of the defaults).
std::unique_ptr<TzelRepSyn> MakeSynOff();
std::unique_ptr<TzelRepSyn> MakeSynCalcNvx();

}  // namespace numvex
