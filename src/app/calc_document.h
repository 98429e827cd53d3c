#pragma once

#include <QString>
#include <cstdio>
#include <string>

#include "tape/document_text.h"
#include "tape/tape_engine.h"

namespace numvex {

class ScintillaTapeBuffer;

// The document in the editor as a file: its name, its line-break style and its bytes on
// disk. The editor holds the file's bytes unchanged; writing gives them back with one final
// line break, so a file opened and saved without an edit comes back byte for byte.
class CalcDocument {
 public:
  explicit CalcDocument(ScintillaTapeBuffer& buffer) : buffer_(buffer) {}

  const QString& FileName() const { return file_name_; }
  void SetFileName(const QString& name) { file_name_ = name; }
  LineBreak Style() const { return style_; }

  enum class Loaded { kOk, kMissing, kFailed };
  // A tape's recalculation on the way into the editor: the engine's settings, and who hears
  // of divisions by zero.
  struct Recalculation {
    TapeSettings settings;
    TapeHost* host = nullptr;
  };
  // Puts the file's bytes into the editor; the style becomes CR LF when any line ends with
  // CR, else LF. The name is not changed. With `recalc`, a regular file whose lines all end in
  // the style's break goes into the editor recalculated, a stretch at a time, and *rewritten
  // becomes true; other files go in as they are (the caller recalculates them in the editor,
  // where each line keeps its own break).
  Loaded Load(const QString& path, const Recalculation* recalc = nullptr,
              bool* rewritten = nullptr);
  // An empty editor; the style stays.
  void Clear();
  // Replaces FileName atomically with the editor's bytes and the final line break; on failure
  // the file is untouched and *error says why.
  bool Write(std::string* error) const;

 private:
  // Reads a regular file of about `size` bytes into the editor a piece at a time, from where
  // `in` stands; false when a read failed.
  bool StreamIntoEditor(std::FILE* in, size_t size);
  enum class Streamed { kDone, kAsItIs, kFailed };
  // Reads a regular file, a tape, into the editor recalculated; kAsItIs: a tape with mixed
  // line breaks, left for the caller.
  Streamed StreamRecalculated(std::FILE* in, const Recalculation& recalc);

  ScintillaTapeBuffer& buffer_;
  QString file_name_;
  LineBreak style_ = LineBreak::CRLF;
  std::string final_break_;  // the loaded file's own; empty: none, the style's is written
  bool ended_with_break_only_ = false;  // a file that was nothing but one line break
};

}  // namespace numvex
