#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>

namespace numvex {

// Documents are Windows-1252 bytes; Qt and the system speak Unicode. These convert between
// the two at the edges of the platform layer (command lines, locale texts).

// Every byte has a character: the five bytes the code page leaves unassigned become the C1
// control characters of the same value, so nothing is lost on the way back.
QString FromAnsi(std::string_view bytes);

// The bytes of `text`, or nothing when a character has no byte in the code page.
std::optional<std::string> ToAnsi(const QString& text);

}  // namespace numvex
