#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "tape/document_text.h"
#include "tape/tape_engine.h"

namespace numvex {

// What the line breaks of a whole document are: its style (LineBreakOf) and whether it
// is laid out as it would be written back (HasCanonicalLayout).
struct BreakScan {
  LineBreak style = LineBreak::LF;
  bool canonical_layout = true;
  bool uniform_breaks = true;  // every line ends in the style's break (HasUniformBreaks)
  bool ends_with_break = false;
  size_t size = 0;  // bytes read
};
// Reads `in` to its end. Returns false on a read error.
bool ScanBreaks(std::FILE* in, BreakScan* scan);

// Recalculates a document read from `in` as RecalcAll does on the whole of it, but holds
// only a stretch of it at a time: the document is cut where two lines in a row are neither
// amount nor separator lines, which no run of the engine reaches across, and each stretch is
// recalculated on its own. Every line goes to `out` (null: nowhere) followed by the style's
// break, as WriteDocument writes it. `host` hears of divisions by zero with line numbers of
// the whole recalculated document. The memory used does not grow with the document, only
// with its longest run.
class TapeStream {
 public:
  // A stretch is recalculated once it holds `stretch_bytes` and may be cut there.
  TapeStream(const TapeSettings& settings, TapeHost& host, size_t stretch_bytes = 64 * 1024);

  // Where the recalculated document goes, in pieces of whole lines with their breaks.
  class Output {
   public:
    virtual ~Output() = default;
    // False: the bytes could not be taken.
    virtual bool Write(std::string_view bytes) = 0;
  };

  // Once per object. Returns false on a read or write error. *changed: whether any line was
  // rewritten, inserted or deleted.
  bool Run(std::FILE* in, LineBreak style, std::FILE* out, bool* changed);
  bool Run(std::FILE* in, LineBreak style, Output& out, bool* changed);

 private:
  // Tells the host the line numbers of the whole document.
  class OffsetHost : public TapeHost {
   public:
    OffsetHost(TapeHost& host, const long& offset) : host_(host), offset_(offset) {}
    void DivisionByZero(int line) override {
      host_.DivisionByZero(line + static_cast<int>(offset_));
    }

   private:
    TapeHost& host_;
    const long& offset_;
  };
  bool RunTo(std::FILE* in, LineBreak style, Output* out, bool* changed);  // out null: nowhere
  void AddLine(std::string_view text);
  bool IsRunLine(size_t index) const;  // a line of the stretch
  void Flush();

  Separators seps_;
  size_t stretch_bytes_;
  OffsetHost host_;
  MemoryTapeBuffer buffer_;
  TapeEngine engine_;
  std::string stretch_;         // the stretch's lines, each followed by '\n'
  std::vector<size_t> starts_;  // where each of its lines starts in stretch_
  std::string line_;            // a line read across two chunks of input
  std::string out_bytes_;       // written in large pieces
  Output* out_ = nullptr;
  std::string_view brk_;
  long lines_done_ = 0;  // lines of the output so far
  bool changed_ = false;
  bool write_failed_ = false;
};

}  // namespace numvex
