#pragma once

#include <memory>

#include "platform/key_layout.h"

namespace numvex {

// The X server's core keyboard as a KeyLayout, read with xkbcommon over Qt's own X
// connection and kept current as the user switches layouts. Empty when the application
// does not run on X11.
std::unique_ptr<KeyLayout> MakeXkbKeyLayout();

}  // namespace numvex
