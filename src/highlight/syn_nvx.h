#pragma once

// The tape highlighter: amounts (in their own colour on minus lines), "#" comments, [links],
// stretches marked with the no-break space (byte 160) that may run on over several lines, and,
// when switched on, the tape's function names and the names a host puts in the variable lists.
// Lines are Windows-1252 bytes.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "highlight/syn_highlighter.h"
#include "highlight/syn_nvx_chars.h"

namespace numvex {

class TSynhighNvx final : public TSynCustomHighlighter {
 public:
  // Token kinds, the values of `TokenKind`.
  enum Kind : int {
    kFunction = 0,
    kIdentifier = 1,
    kReservedWord = 2,  // registered for role 2; scanning never yields it
    kLink = 3,
    kComment = 4,
    kMarked = 5,
    kNumber = 6,
    kNegativeNumber = 7,
    kSpace = 8,
    kEndOfLine = 9,
    kOther = 10,
    kLocalVariable = 11,
    kGlobalVariable = 12,
  };
  static constexpr int kKindCount = 13;

  // Range values (the scan state, one byte). Only kRangeMarked changes how bytes scan; the
  // others are passed on, and any value not listed scans like kRangeNormal.
  enum Range : std::uint8_t {
    kRangeNormal = 0,
    kRangeComment = 1,  // a comment was scanned
    kRangeMarked = 2,   // inside a marked stretch
    kRangeLink = 3,     // inside a link not closed on its line
  };

  // Identifiers hashing above this are plain identifiers without a lookup.
  static constexpr int kMaxClassifiedHash = 1024;
  static constexpr char kDefaultFilter[] = "highNvx (*.nvx)";

  TSynhighNvx();

  static std::string ClassLanguageName() { return "highNvx"; }

  // The attributes, and the settings a host may read or change.
  TSynHighlighterAttributes* FunctionAttri() const { return function_attri_; }
  TSynHighlighterAttributes* IdentifierAttri() const { return identifier_attri_; }
  TSynHighlighterAttributes* LinkAttri() const { return link_attri_; }
  TSynHighlighterAttributes* CommentAttri() const { return comment_attri_; }
  char CommentChar() const { return comment_char_; }
  TSynHighlighterAttributes* MarkedLineAttri() const { return marked_line_attri_; }
  char MarkedLineChar() const { return marked_line_char_; }
  TSynHighlighterAttributes* KeyAttri() const { return key_attri_; }
  TSynHighlighterAttributes* MinusLineAttri() const { return minus_line_attri_; }
  TSynHighlighterAttributes* NumberAttri() const { return number_attri_; }
  TSynHighlighterAttributes* NegNumberAttri() const { return neg_number_attri_; }
  TSynHighlighterAttributes* SpaceAttri() const { return space_attri_; }
  TSynHighlighterAttributes* VariableLocalAttri() const { return variable_local_attri_; }
  TSynHighlighterAttributes* VariableGlobalAttri() const { return variable_global_attri_; }
  bool HighlightVarsAndFunctions() const { return highlight_vars_and_functions_; }

  // The scanner's table is built from "#" and byte 160 once and for all; these two are stored
  // for the settings and do not change the scan.
  void SetCommentChar(char c) { comment_char_ = c; }
  void SetMarkedLineChar(char c) { marked_line_char_ = c; }
  void SetHighlightVarsAndFunctions(bool on) { highlight_vars_and_functions_ = on; }

  // Names of local and global variables, searched from the first entry. The highlighter fills
  // neither; a host that knows the tape's variables puts them here.
  std::vector<std::string>& LocalVariables() { return local_variables_; }
  std::vector<std::string>& GlobalVariables() { return global_variables_; }

  TSynHighlighterAttributes* RoleAttribute(int role) const override;
  TSynIdentChars WordCharacters() const override;
  std::string SampleText() const override;
  bool FilterNeedsSaving() const override { return DefaultFilter() != kDefaultFilter; }
  std::string LanguageName() const override { return ClassLanguageName(); }
  bool AtLineEnd() const override { return kind_ == kEndOfLine; }
  TScanState ScanState() const override { return range_; }
  std::string TokenText() const override;
  TSynHighlighterAttributes* TokenAttribute() const override { return kind_attri_[kind_]; }
  int TokenKind() const override { return kind_; }
  int TokenStart() const override { return token_pos_; }
  // Inline, so the scan inside the class (StartLine) pays only for the one indexed handler call.
  void NextToken() override {
    const int run = run_;
    token_pos_ = run;
    kHandlers[At(run)](*this, run);
  }
  void StartLine(const char* text, int line_number) override;
  void SetScanState(TScanState state) override { range_ = static_cast<std::uint8_t>(state); }
  void ResetScanState() override { range_ = kRangeNormal; }
  int TokenLength() const override { return run_ - token_pos_; }

  // The number given to the last `StartLine`.
  int LineNumber() const { return line_number_; }

 private:
  // A handler gets the token start in `run` and leaves run_ past its token. Scanning in a
  // local matters: the line is char data, which may alias any member, so stepping run_ itself
  // would cost a store and a reload per byte.
  using Handler = void (*)(TSynhighNvx& self, int run);
  using Classifier = Kind (TSynhighNvx::*)() const;
  using HandlerTable = std::array<Handler, 256>;
  using ClassifierTable = std::array<Classifier, kMaxClassifiedHash + 1>;

  // The handler table holds plain functions, each calling its member: a member-function
  // pointer would add a test for virtual members and a this-adjustment to every token.
  template <void (TSynhighNvx::*kProc)(int)>
  static void Call(TSynhighNvx& self, int run) {
    (self.*kProc)(run);
  }

  // Both tables are the same for every instance, so one copy serves the process.
  static constexpr HandlerTable MakeHandlers();
  static constexpr ClassifierTable MakeClassifiers();
  static const HandlerTable kHandlers;
  static const ClassifierTable kClassifiers;

  unsigned char At(int pos) const { return static_cast<unsigned char>(line_[pos]); }
  const unsigned char* Bytes() const { return reinterpret_cast<const unsigned char*>(line_); }
  bool InMarked() const { return range_ == kRangeMarked; }

  // One handler per byte value.
  void NullProc(int run);
  void LineFeedProc(int run);
  void CarriageReturnProc(int run);
  void SpaceProc(int run);
  void NumberProc(int run);
  void IdentProc(int run);
  void CommentProc(int run);
  void LinkProc(int run);
  void MarkProc(int run);
  void UnknownProc(int run);
  // Runs a marked stretch on from `run` up to its closing byte 160 or the line's end; shared
  // by the mark handler and by identifiers inside a stretch.
  void MarkedScan(int run);
  [[gnu::noinline]] void MapIdentifiers();

  Kind ClassifyIdent() const;
  bool IdentEquals(std::string_view name) const;
  static bool IsMinusLine(const char* line);
  bool MinusLine() {
    if (minus_line_ < 0) minus_line_ = IsMinusLine(line_) ? 1 : 0;
    return minus_line_ != 0;
  }

  TSynHighlighterAttributes* function_attri_ = nullptr;
  TSynHighlighterAttributes* identifier_attri_ = nullptr;
  TSynHighlighterAttributes* link_attri_ = nullptr;
  TSynHighlighterAttributes* comment_attri_ = nullptr;
  TSynHighlighterAttributes* marked_line_attri_ = nullptr;
  TSynHighlighterAttributes* key_attri_ = nullptr;
  TSynHighlighterAttributes* number_attri_ = nullptr;
  TSynHighlighterAttributes* neg_number_attri_ = nullptr;
  TSynHighlighterAttributes* space_attri_ = nullptr;
  TSynHighlighterAttributes* minus_line_attri_ = nullptr;
  TSynHighlighterAttributes* variable_local_attri_ = nullptr;
  TSynHighlighterAttributes* variable_global_attri_ = nullptr;
  std::array<TSynHighlighterAttributes*, kKindCount> kind_attri_{};

  char comment_char_ = '#';
  char marked_line_char_ = static_cast<char>(160);
  bool highlight_vars_and_functions_ = true;
  std::vector<std::string> local_variables_;
  std::vector<std::string> global_variables_;

  const char* line_ = "";
  int end_ = 0;  // offset of the line's terminating 0
  // Where the identifiers of the current line end, built at its first identifier; lines too
  // short or too long for the map scan with RunEnd.
  enum MapState : std::uint8_t { kMapNotBuilt, kMapBuilt, kNoMap };
  nvx_chars::LineMap<nvx_chars::IdentRun> ident_map_;
  MapState ident_map_state_ = kMapNotBuilt;
  int run_ = 0;
  int token_pos_ = 0;
  Kind kind_ = kEndOfLine;
  int ident_start_ = 0;
  int ident_len_ = 0;
  int line_number_ = 0;
  std::uint8_t range_ = kRangeNormal;
  // The negative flag is `after_blank_ && MinusLine()`: each whitespace token would set it
  // from the whole line, which only depends on the line, so the line is looked at once and
  // only when a number after whitespace asks.
  bool after_blank_ = false;
  std::int8_t minus_line_ = -1;  // -1: not looked at yet on this line
};

// The tape highlighter as the main window sets it up: black comments, navy numbers, and no
// function or variable names picked out.
std::unique_ptr<TSynhighNvx> MakeMainWindowNvx();

}  // namespace numvex
