#pragma once

#include <cstdio>
#include <memory>
#include <string>

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
  // A stretch is recalculated once it holds `stretch_bytes` and may be cut there. The
  // input is read `read_bytes` at a time.
  TapeStream(const TapeSettings& settings, TapeHost& host, size_t stretch_bytes = 64 * 1024,
             size_t read_bytes = 128 * 1024);

  // Where the recalculated document goes, in pieces of whole lines with their breaks (a line
  // longer than the output block goes on its own, its break after it).
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
  // Makes room for a read after the stretch: moves the stretch to the front of the input, or
  // grows the input.
  void MakeRoom();
  // The buffer takes the input from the stretch's start on; lines are added as they are cut.
  void AdoptStretch();
  // The line from `start` in the input before `end`: its length and where the next one
  // starts. False when no break ends it there yet (`at_end`: all input is read).
  bool NextLine(size_t start, size_t end, bool at_end, size_t* length, size_t* after) const;
  // Cuts the input from next_ on into lines; `at_end`: all of it is read.
  void CutLines(bool at_end);
  // Adds a line to the stretch; returns whether the stretch is to be cut after it.
  bool AddLine(size_t start, size_t length);
  bool IsRunLine(int line) const;  // a line of the stretch
  bool RunTo(std::FILE* in, LineBreak style, Output* out, bool* changed);  // out null: nowhere
  void Flush();
  void Write(std::string_view line);  // the line and its break
  void WriteOut();

  Separators seps_;
  size_t stretch_bytes_;
  size_t read_bytes_;
  OffsetHost host_;
  MemoryTapeBuffer buffer_;
  TapeEngine engine_;
  LineBreak style_ = LineBreak::LF;
  // The input read so far that is not recalculated yet: the stretch's lines from
  // stretch_begin_, which buffer_ views, and the bytes from next_ on, which no line break
  // ends yet.
  std::unique_ptr<char[]> input_;
  size_t input_capacity_ = 0;
  size_t input_size_ = 0;
  size_t stretch_begin_ = 0;
  size_t next_ = 0;
  // The output, written in large pieces.
  std::unique_ptr<char[]> out_bytes_;
  size_t out_size_ = 0;
  Output* out_ = nullptr;
  std::string_view brk_;
  long lines_done_ = 0;  // lines of the output so far
  bool changed_ = false;
  bool write_failed_ = false;
};

}  // namespace numvex
