#pragma once

#include <string_view>

#include "tape/separators.h"
#include "tape/tape_line.h"

namespace numvex {

// Recognises an amount line that is already in the layout the engine writes for an
// entry, so that a recalculation over a saved tape verifies such lines instead of
// reading, formatting and comparing each one.
//
// Returns true when `line` (the whole line, not trimmed) is exactly the text that
// FormatTapeLine writes (not rounded, `decimals` places) for what ReadEntry reads from
// the trimmed line in calc mode. *entry then holds what the engine's rewrite would
// return: operator, "%", operation and the amount as the text reads back; the comment
// is left empty. Returns false for every other line and for forms this check does not
// cover (the scientific form, more than 15 significant digits, a minus zero, unusual
// separators); the full rewrite decides those. *amount_end, when given, receives where
// the amount and its "%" end in `line`, which is where a blank or the end follows.
bool ReadCanonicalEntry(std::string_view line, const Separators& seps, int decimals,
                        TapeEntry* entry, size_t* amount_end = nullptr);

// True when writing the entry reports a division by zero: "/" or the division sign
// with the amount 0.
bool DividesByZero(const TapeEntry& entry);

}  // namespace numvex
