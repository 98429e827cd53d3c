#pragma once

#include <cstdio>
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

// True when writing the lines of `bytes` back with their line-break style gives the
// same bytes: one style throughout and a break after the last line.
bool HasCanonicalLayout(std::string_view bytes, LineBreak style);

// Writes every line followed by the line break to `out`. Returns false on a write error.
bool WriteDocument(const TapeBuffer& buffer, LineBreak style, std::FILE* out);

// Replaces the file at `path` with the document: a temporary file in the same folder,
// flushed to disk, renamed over the original (symbolic links are followed, the
// original's permissions kept). On failure the original is untouched.
bool ReplaceFileAtomically(const std::string& path, const TapeBuffer& buffer, LineBreak style,
                           std::string* error);

}  // namespace numvex
