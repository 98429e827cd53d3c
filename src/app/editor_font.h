#pragma once

#include <QFont>

class QWidget;

namespace numvex {

// The font as Scintilla can take it. Scintilla sizes its styles in points, and QScintilla
// passes a pixel-sized font on as -1 point (a 13 px font shrinks to a few pixels), so a pixel
// size becomes the point size that gives the same pixels on `widget`'s screen (or the primary
// screen without a widget).
QFont ScintillaFont(const QFont& font, const QWidget* widget);

}  // namespace numvex
