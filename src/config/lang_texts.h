#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace numvex {

// The text of `id` in the language of Conf.Language (0 German, 1 English), as UTF-8.
// An id missing from the table, or any other language value (-1 before the settings are
// loaded), gives the id between question marks, so a gap shows up on screen instead of
// an empty caption. Ids are compared exactly, with case. Fetch at the moment of showing;
// the language may have changed since the last call.
std::string GetLangText(std::string_view id);

// The table's ids in ascending byte order, for checking the table as a whole.
std::size_t LangTextCount();
std::string_view LangTextId(std::size_t index);

// 0 (German) for the German language identifiers of Germany, Switzerland, Austria,
// Luxembourg and Liechtenstein; 1 (English) for every other identifier.
int DetectLanguage(uint16_t lang_id);

// Maps a POSIX locale name ("de_AT.UTF-8", "fr_FR@euro", "de", "C") to the Windows
// language identifier, so that the Linux build can feed DetectLanguage from the locale.
// The codeset and modifier are ignored; language and territory are matched without case.
// A known language with an unlisted territory gets that language's main identifier;
// unknown languages, "C", "POSIX" and the empty name become 0x0409 (English, US).
uint16_t LangIdFromLocaleName(std::string_view name);

}  // namespace numvex
