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

// Recognises an amount line in the form people type, so that a recalculation reads it in
// one pass instead of classifying it and then reading it: an operator or none, digits, the
// decimal separator and digits or neither, a "%" or none, and a comment after a blank or
// none, with nothing to trim at either end and no operator as the last character.
//
// Returns true when `line` has this form and is an amount line (ClassifyLine gives
// lkNumber); *entry then holds what ReadEntry reads from it in calc mode, its comment
// viewing into `line`, and *read the decimal number of its amount. Returns false for every
// other line, and for unusual separators; the full path decides those.
bool ReadTypedEntry(std::string_view line, const Separators& seps, TapeEntry* entry,
                    DecimalAmount* read);

// Whether the fast readers take lines written with these separators: two different bytes
// that no reader takes for a digit, blank, sign, operator, "%", "=" or exponent.
bool FastReaderSeparators(const Separators& seps);

// True when writing the entry reports a division by zero: "/" or the division sign
// with the amount 0.
bool DividesByZero(const TapeEntry& entry);

}  // namespace numvex
