#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "tape/tape_buffer.h"

namespace numvex {

enum class LineBreak { LF, CRLF };

// Makes the bytes of a file the buffer's lines. LF, CR LF and a lone CR each end a
// line; a final line break does not start an extra line; an empty file has no lines.
// The style is CRLF when any line ended with CR, else LF.
LineBreak SplitDocument(std::string bytes, MemoryTapeBuffer* buffer);
// The same for bytes the buffer has adopted already.
LineBreak SplitAdoptedDocument(MemoryTapeBuffer* buffer);

// The bytes of a document as saved: every line followed by the line break.
std::string JoinDocument(const TapeBuffer& buffer, LineBreak style);

}  // namespace numvex
