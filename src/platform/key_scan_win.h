#pragma once

// Windows only: the system's character-to-key translation.

namespace numvex {

// VkKeyScanA for the current thread's keyboard layout: the virtual-key code in the low byte,
// the shift state in the high byte; -1 when the layout cannot type the character.
int SystemVkKeyScan(unsigned char c);

}  // namespace numvex
