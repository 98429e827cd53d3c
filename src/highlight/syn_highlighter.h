#pragma once

// The contract between the editor and a highlighter: font styles, attributes, the base class
// every highlighter derives from, and the token dump used by the tape tool.
//
// A highlighter scans one line at a time. The editor calls, per line:
//   SetScanState(end state of the previous line)   or ResetScanState() for line 1
//   StartLine(text, line_number)                    scans the first token
//   while (!AtLineEnd()) { TokenStart(), TokenText()/TokenLength(), TokenAttribute();
//                          NextToken(); }
//   ScanState()                                     stored for the line
// The end state is the only thing carried from one line to the next.

#include <bitset>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "color/color.h"

namespace numvex {

// ---------------------------------------------------------------------------------------------
// Font style: a set of bold, italic, underline and strike-out.
enum TFontStyle : std::uint8_t {
  fsBold = 1u << 0,
  fsItalic = 1u << 1,
  fsUnderline = 1u << 2,
  fsStrikeOut = 1u << 3,
};

class TFontStyles {
 public:
  constexpr TFontStyles() = default;
  constexpr TFontStyles(TFontStyle style) : bits_(style) {}  // NOLINT: a flag is a set of one
  static constexpr TFontStyles FromBits(std::uint8_t bits) {
    TFontStyles s;
    s.bits_ = bits & 0x0F;
    return s;
  }

  constexpr std::uint8_t Bits() const { return bits_; }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr bool Contains(TFontStyle style) const { return (bits_ & style) != 0; }

  constexpr TFontStyles operator|(TFontStyles other) const { return FromBits(bits_ | other.bits_); }
  constexpr TFontStyles operator-(TFontStyles other) const {
    return FromBits(bits_ & ~other.bits_);
  }
  constexpr bool operator==(TFontStyles other) const { return bits_ == other.bits_; }
  constexpr bool operator!=(TFontStyles other) const { return bits_ != other.bits_; }

 private:
  std::uint8_t bits_ = 0;
};

constexpr TFontStyles operator|(TFontStyle a, TFontStyle b) {
  return TFontStyles(a) | TFontStyles(b);
}

// ---------------------------------------------------------------------------------------------
// One paint attribute of a highlighter ("Comment", "Number", ...). The name is its key in the
// highlighter's attribute list and never changes.
class TSynHighlighterAttributes {
 public:
  using ChangeHandler = std::function<void(TSynHighlighterAttributes&)>;

  explicit TSynHighlighterAttributes(std::string name);
  TSynHighlighterAttributes(const TSynHighlighterAttributes&) = delete;
  TSynHighlighterAttributes& operator=(const TSynHighlighterAttributes&) = delete;

  const std::string& Name() const { return name_; }

  TColor Foreground() const { return foreground_; }
  TColor Background() const { return background_; }
  TFontStyles Style() const { return style_; }
  // Each setter notifies only when the value really changes.
  void SetForeground(TColor color);
  void SetBackground(TColor color);
  void SetStyle(TFontStyles style);
  // Copies the three properties of another attribute, with at most one notification.
  void Assign(const TSynHighlighterAttributes& other);

  // Remembers the current values as the defaults; the owner calls it once its constructor has
  // set the colours and styles it wants, so that those count as defaults, not overrides.
  void InternalSaveDefaultValues();
  TColor DefaultForeground() const { return default_foreground_; }
  TColor DefaultBackground() const { return default_background_; }
  TFontStyles DefaultStyle() const { return default_style_; }
  // A property is written to the settings only when it differs from its remembered default.
  bool IsForegroundStored() const { return foreground_ != default_foreground_; }
  bool IsBackgroundStored() const { return background_ != default_background_; }
  bool IsStyleStored() const { return style_ != default_style_; }

  // One subscriber: the highlighter that owns the attribute.
  void SetOnChange(ChangeHandler handler) { on_change_ = std::move(handler); }

 private:
  void Changed();

  const std::string name_;
  TColor foreground_ = clNone;
  TColor background_ = clNone;
  TFontStyles style_;
  TColor default_foreground_ = clNone;
  TColor default_background_ = clNone;
  TFontStyles default_style_;
  ChangeHandler on_change_;
};

// The 256 byte values that make up a word, for word selection and word-wise caret movement.
using TSynIdentChars = std::bitset<256>;

// The end state of a line, handed back before the next line is scanned. Opaque to the editor.
using TScanState = std::intptr_t;

// Capability flags: which settings operations (presets, registry persistence) a class offers.
enum TSynHighlighterCapability : unsigned {
  hcUserSettings = 1u << 0,
  hcRegistry = 1u << 1,
};
using TSynHighlighterCapabilities = unsigned;

class TSynCustomHighlighter;

// An editor attached to a highlighter; told whenever one of its attributes changes so that it
// can repaint.
class TSynHighlighterListener {
 public:
  virtual ~TSynHighlighterListener() = default;
  virtual void HighlighterAttributeChanged(TSynCustomHighlighter& highlighter,
                                           TSynHighlighterAttributes& attribute) = 0;
};

// ---------------------------------------------------------------------------------------------
// Base class of every highlighter.
//
// A concrete constructor, in this order: lets the base construct; creates each attribute,
// optionally sets its colours or style, and registers it with `RegisterAttribute`; calls
// `FinishAttributes()` (subscription, current values become defaults); builds its own tables;
// sets `DefaultFilter` and its initial state.
//
// Only the operations the editor and the tape tool call are here; presets and loading or
// saving attributes elsewhere have no caller in the program.
class TSynCustomHighlighter {
 public:
  TSynCustomHighlighter();
  virtual ~TSynCustomHighlighter();
  TSynCustomHighlighter(const TSynCustomHighlighter&) = delete;
  TSynCustomHighlighter& operator=(const TSynCustomHighlighter&) = delete;

  // Class operations; a derived class hides them with its own. The instance answers through
  // the virtual `PresetCapabilities()` and `LanguageName()` below.
  static TSynHighlighterCapabilities ClassPresetCapabilities() { return hcRegistry; }
  static std::string ClassLanguageName() { return "<Unknown>"; }

  // --- the editor's operations -----------------------------------------------------------
  virtual int AttributeCount() const;
  // nullptr for an index below 0 or not below the count.
  virtual TSynHighlighterAttributes* AttributeAt(int index) const;
  // Generic roles: 0 comment, 1 identifier, 2 keyword, 3 string, 4 whitespace; nullptr where
  // the language has no such attribute.
  virtual TSynHighlighterAttributes* RoleAttribute(int role) const = 0;
  virtual std::string FilterText() const;
  virtual TSynIdentChars WordCharacters() const;  // base: codes 33..255
  virtual std::string SampleText() const;         // base: empty
  virtual bool FilterNeedsSaving() const;         // base: true
  virtual void SetFilterText(const std::string& filter);
  virtual void SetSampleText(const std::string& text);  // base: ignored
  virtual TSynHighlighterCapabilities PresetCapabilities() const;
  virtual std::string LanguageName() const;
  virtual bool AtLineEnd() const = 0;
  virtual TScanState ScanState() const;  // base: 0
  virtual std::string TokenText() const = 0;
  // nullptr for the end-of-line token.
  virtual TSynHighlighterAttributes* TokenAttribute() const = 0;
  virtual int TokenKind() const = 0;
  virtual int TokenStart() const = 0;
  virtual bool IsReservedWord(std::string_view word) const;  // base: false
  virtual void NextToken() = 0;
  // `text` is a zero-terminated line of bytes; the highlighter keeps the pointer (no copy) until
  // the next `StartLine`, so the caller keeps the buffer alive meanwhile. A byte 0 ends the
  // line: anything after it is not scanned. Scans the first token.
  virtual void StartLine(const char* text, int line_number) = 0;
  virtual void SetScanState(TScanState state) = 0;
  virtual void ResetScanState() = 0;

  // Length of the current token in bytes (0 for the end-of-line token). Highlighters override
  // it with a subtraction; the base falls back on `TokenText`, which allocates.
  virtual int TokenLength() const;

  // --- attributes, filter and listeners ---------------------------------------------------
  // The registered attribute of that name (names compare ignoring ASCII case), or nullptr.
  TSynHighlighterAttributes* FindAttribute(std::string_view name) const;

  const std::string& DefaultFilter() const { return default_filter_; }
  void SetDefaultFilter(std::string filter) { default_filter_ = std::move(filter); }

  // Attaching the same listener twice has no further effect; a listener must detach before it
  // is destroyed.
  void AttachListener(TSynHighlighterListener* listener);
  void DetachListener(TSynHighlighterListener* listener);
  int ListenerCount() const { return static_cast<int>(listeners_.size()); }

 protected:
  // Takes ownership and inserts the attribute in name order. Throws std::logic_error when an
  // attribute of the same name (ignoring ASCII case) is already registered.
  TSynHighlighterAttributes* RegisterAttribute(std::unique_ptr<TSynHighlighterAttributes> attr);
  // Convenience: create, register and return an attribute of that name.
  TSynHighlighterAttributes* AddAttribute(std::string name);
  // Subscribes to every registered attribute and remembers its current values as defaults.
  void FinishAttributes();

 private:
  void AttributeChanged(TSynHighlighterAttributes& attribute);

  std::vector<std::unique_ptr<TSynHighlighterAttributes>> attributes_;  // sorted by name
  std::vector<TSynHighlighterListener*> listeners_;
  std::string default_filter_;
};

// ---------------------------------------------------------------------------------------------
// Token dump, as the tape tool prints it. Scans `lines` the way the editor does and produces one
// text line per input line: "LINE RANGE TOKENS", LINE counting from 1, RANGE the state at the
// end of the line (signed decimal), TOKENS "start:length:kind" for every token before the
// end-of-line token, separated by single blanks; with no tokens the line is "LINE RANGE".
void DumpTokens(TSynCustomHighlighter& highlighter, const std::vector<std::string>& lines,
                const std::function<void(const std::string& dump_line)>& emit);
// Same, appending every dump line followed by "\n" to `out`.
void DumpTokens(TSynCustomHighlighter& highlighter, const std::vector<std::string>& lines,
                std::string* out);

}  // namespace numvex
