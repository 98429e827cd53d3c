// The layout the user types with, wherever the program runs.
#include "platform/key_layout.h"

#ifdef _WIN32
#include <QKeyEvent>

#include "platform/key_scan_win.h"
#elif defined(NUMVEX_HAVE_XKB)
#include "platform/xkb_key_layout.h"
#endif

namespace numvex {

#ifdef _WIN32

namespace {

// Windows translates by itself: VkKeyScanA for the current thread's layout, and the
// event's own virtual-key code.
class WindowsKeyLayout final : public KeyLayout {
 public:
  int VkKeyScan(unsigned char c) const override { return SystemVkKeyScan(c); }
  int VirtualKeyOf(const QKeyEvent& event) const override {
    return static_cast<int>(event.nativeVirtualKey());
  }
};

}  // namespace

std::unique_ptr<KeyLayout> SystemKeyLayout() { return std::make_unique<WindowsKeyLayout>(); }

#else

std::unique_ptr<KeyLayout> SystemKeyLayout() {
#ifdef NUMVEX_HAVE_XKB
  if (std::unique_ptr<KeyLayout> x11 = MakeXkbKeyLayout()) return x11;
#endif
  // Offscreen and Wayland clients cannot ask for the layout; the commonest one stands in.
  return UsLayout();
}

#endif

}  // namespace numvex
