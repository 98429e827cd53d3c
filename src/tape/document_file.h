#pragma once

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "tape/document_text.h"
#include "tape/tape_buffer.h"

namespace numvex {

// The bytes of a file, in a block the line buffer can adopt without copying.
struct FileBytes {
  std::shared_ptr<char[]> data;
  size_t size = 0;
};

// Reads a whole file (or standard input for "-") as bytes. On failure returns false
// and puts the system's reason into *error.
bool ReadFileBytes(const std::string& path, FileBytes* bytes, std::string* error);

// True when every line break in `bytes` is the style's: no CR in an LF document, only CR LF
// pairs in a CR LF one.
bool HasUniformBreaks(std::string_view bytes, LineBreak style);

// True when writing the lines of `bytes` back with their line-break style gives the
// same bytes: one style throughout and a break after the last line.
bool HasCanonicalLayout(std::string_view bytes, LineBreak style);

// Writes every line followed by the line break to `out`. Returns false on a write error.
bool WriteDocument(const TapeBuffer& buffer, LineBreak style, std::FILE* out);

// Replaces the file at `path` with what `write` puts out: a temporary file in the same
// folder, flushed to disk, renamed over the original (symbolic links are followed, the
// original's permissions kept; a new file gets the usual ones). A file whose permission bits
// deny writing is refused as read-only, also for root. On failure the original is untouched
// and *error holds the system's reason. The temporary is ".NAME.numvex-save-XXXXXX", locked
// while it is written; one a killed save left behind (its lock gone with the writer) is
// removed by the next save of the same file.
using DocumentWriter = std::function<bool(std::FILE* out)>;
bool ReplaceFileAtomically(const std::string& path, const DocumentWriter& write,
                           std::string* error);
// The same for a document's lines.
bool ReplaceFileAtomically(const std::string& path, const TapeBuffer& buffer, LineBreak style,
                           std::string* error);

}  // namespace numvex
