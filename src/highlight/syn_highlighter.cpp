#include "highlight/syn_highlighter.h"

#include <algorithm>
#include <stdexcept>

namespace numvex {

namespace {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Attribute names are display keys: "Number" and "number" would be the same entry to a user,
// so order and identity ignore ASCII case.
int CompareNames(std::string_view a, std::string_view b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const auto ca = static_cast<unsigned char>(LowerAscii(a[i]));
    const auto cb = static_cast<unsigned char>(LowerAscii(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

}  // namespace

// --- TSynHighlighterAttributes ------------------------------------------------------------------

TSynHighlighterAttributes::TSynHighlighterAttributes(std::string name) : name_(std::move(name)) {}

void TSynHighlighterAttributes::SetForeground(TColor color) {
  if (foreground_ == color) return;
  foreground_ = color;
  Changed();
}

void TSynHighlighterAttributes::SetBackground(TColor color) {
  if (background_ == color) return;
  background_ = color;
  Changed();
}

void TSynHighlighterAttributes::SetStyle(TFontStyles style) {
  if (style_ == style) return;
  style_ = style;
  Changed();
}

void TSynHighlighterAttributes::Assign(const TSynHighlighterAttributes& other) {
  if (&other == this) return;
  const bool differs = foreground_ != other.foreground_ || background_ != other.background_ ||
                       style_ != other.style_;
  if (!differs) return;
  foreground_ = other.foreground_;
  background_ = other.background_;
  style_ = other.style_;
  Changed();
}

void TSynHighlighterAttributes::InternalSaveDefaultValues() {
  default_foreground_ = foreground_;
  default_background_ = background_;
  default_style_ = style_;
}

void TSynHighlighterAttributes::Changed() {
  if (on_change_) on_change_(*this);
}

// --- TSynCustomHighlighter ----------------------------------------------------------------------

TSynCustomHighlighter::TSynCustomHighlighter() = default;

TSynCustomHighlighter::~TSynCustomHighlighter() {
  // Attributes die with us; make sure none can call back into a half-destroyed highlighter.
  for (auto& attr : attributes_) attr->SetOnChange(nullptr);
}

int TSynCustomHighlighter::AttributeCount() const { return static_cast<int>(attributes_.size()); }

TSynHighlighterAttributes* TSynCustomHighlighter::AttributeAt(int index) const {
  if (index < 0 || index >= AttributeCount()) return nullptr;
  return attributes_[static_cast<size_t>(index)].get();
}

std::string TSynCustomHighlighter::FilterText() const { return default_filter_; }

TSynIdentChars TSynCustomHighlighter::WordCharacters() const {
  TSynIdentChars chars;
  for (int c = 33; c <= 255; ++c) chars.set(static_cast<size_t>(c));
  return chars;
}

std::string TSynCustomHighlighter::SampleText() const { return std::string(); }

bool TSynCustomHighlighter::FilterNeedsSaving() const { return true; }

void TSynCustomHighlighter::SetFilterText(const std::string& filter) { default_filter_ = filter; }

void TSynCustomHighlighter::SetSampleText(const std::string& /*text*/) {}

TSynHighlighterCapabilities TSynCustomHighlighter::PresetCapabilities() const {
  return ClassPresetCapabilities();
}

std::string TSynCustomHighlighter::LanguageName() const { return ClassLanguageName(); }

TScanState TSynCustomHighlighter::ScanState() const { return 0; }

bool TSynCustomHighlighter::IsReservedWord(std::string_view /*word*/) const { return false; }

int TSynCustomHighlighter::TokenLength() const { return static_cast<int>(TokenText().size()); }

TSynHighlighterAttributes* TSynCustomHighlighter::FindAttribute(std::string_view name) const {
  auto it = std::lower_bound(
      attributes_.begin(), attributes_.end(), name,
      [](const auto& attr, std::string_view key) { return CompareNames(attr->Name(), key) < 0; });
  if (it == attributes_.end() || CompareNames((*it)->Name(), name) != 0) return nullptr;
  return it->get();
}

void TSynCustomHighlighter::AttachListener(TSynHighlighterListener* listener) {
  if (listener == nullptr) return;
  if (std::find(listeners_.begin(), listeners_.end(), listener) != listeners_.end()) return;
  listeners_.push_back(listener);
}

void TSynCustomHighlighter::DetachListener(TSynHighlighterListener* listener) {
  listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
}

TSynHighlighterAttributes* TSynCustomHighlighter::RegisterAttribute(
    std::unique_ptr<TSynHighlighterAttributes> attr) {
  if (!attr) throw std::logic_error("RegisterAttribute: no attribute");
  auto it = std::lower_bound(attributes_.begin(), attributes_.end(), attr->Name(),
                             [](const auto& existing, const std::string& key) {
                               return CompareNames(existing->Name(), key) < 0;
                             });
  if (it != attributes_.end() && CompareNames((*it)->Name(), attr->Name()) == 0) {
    throw std::logic_error("Duplicate highlighter attribute \"" + attr->Name() + "\"");
  }
  TSynHighlighterAttributes* raw = attr.get();
  attributes_.insert(it, std::move(attr));
  return raw;
}

TSynHighlighterAttributes* TSynCustomHighlighter::AddAttribute(std::string name) {
  return RegisterAttribute(std::make_unique<TSynHighlighterAttributes>(std::move(name)));
}

void TSynCustomHighlighter::FinishAttributes() {
  for (auto& attr : attributes_) {
    attr->SetOnChange([this](TSynHighlighterAttributes& changed) { AttributeChanged(changed); });
    attr->InternalSaveDefaultValues();
  }
}

void TSynCustomHighlighter::AttributeChanged(TSynHighlighterAttributes& attribute) {
  // A listener may detach itself (or another) while being told; walk a snapshot and skip the
  // ones that left meanwhile.
  const std::vector<TSynHighlighterListener*> snapshot = listeners_;
  for (TSynHighlighterListener* listener : snapshot) {
    if (std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end()) continue;
    listener->HighlighterAttributeChanged(*this, attribute);
  }
}

// --- token dump ---------------------------------------------------------------------------------

void DumpTokens(TSynCustomHighlighter& highlighter, const std::vector<std::string>& lines,
                const std::function<void(const std::string& dump_line)>& emit) {
  TScanState state = 0;
  std::string dump;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i == 0) {
      highlighter.ResetScanState();
    } else {
      highlighter.SetScanState(state);
    }
    highlighter.StartLine(lines[i].c_str(), static_cast<int>(i + 1));
    std::string tokens;
    while (!highlighter.AtLineEnd()) {
      if (!tokens.empty()) tokens += ' ';
      tokens += std::to_string(highlighter.TokenStart());
      tokens += ':';
      tokens += std::to_string(highlighter.TokenLength());
      tokens += ':';
      tokens += std::to_string(highlighter.TokenKind());
      highlighter.NextToken();
    }
    state = highlighter.ScanState();
    dump = std::to_string(i + 1);
    dump += ' ';
    dump += std::to_string(state);
    if (!tokens.empty()) {
      dump += ' ';
      dump += tokens;
    }
    emit(dump);
  }
}

void DumpTokens(TSynCustomHighlighter& highlighter, const std::vector<std::string>& lines,
                std::string* out) {
  DumpTokens(highlighter, lines, [out](const std::string& dump_line) {
    *out += dump_line;
    *out += '\n';
  });
}

}  // namespace numvex
