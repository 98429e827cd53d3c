#pragma once

#include <QPixmap>
#include <QSize>

namespace numvex {

// The program's mark, a strip of paper tape on a rounded navy tile, `size` pixels square.
QPixmap DrawProgramMark(int size);

// The maker's banner: a navy band with a roll of paper tape unwinding across it, drawn for
// `size` so that it fills any width.
QPixmap DrawMakerBanner(QSize size);

}  // namespace numvex
