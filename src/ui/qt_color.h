#pragma once

#include <QColor>
#include <QPalette>

#include "color/color.h"

namespace numvex {

// The QColor of a colour value. System colours come from `palette` (current colour group);
// clNone and system indexes without a counterpart give an invalid QColor, so the caller
// decides what "no colour" means in its place.
QColor ToQColor(TColor value, const QPalette& palette);

}  // namespace numvex
