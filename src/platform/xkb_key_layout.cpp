#include "platform/xkb_key_layout.h"

#include <xcb/xcb.h>
#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <cstring>
#include <iterator>
#include <string_view>
#include <vector>

#include "platform/ansi_text.h"
#include "platform/virtual_keys.h"

// xcb's XKB header names a structure field "explicit"; only its event layouts are used here.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit

namespace numvex {

namespace {

struct XkbFree {
  void operator()(xkb_context* p) const { xkb_context_unref(p); }
  void operator()(xkb_keymap* p) const { xkb_keymap_unref(p); }
  void operator()(xkb_state* p) const { xkb_state_unref(p); }
};

// Keys whose code does not depend on the layout, by their XKB names (which name positions).
struct NamedKey {
  const char* name;
  int vk;
};
constexpr NamedKey kNamedKeys[] = {
    {"KPMU", kVkMultiply},
    {"KPAD", kVkAdd},
    {"KPSU", kVkSubtract},
    {"KPDV", kVkDivide},
    {"KPDL", kVkDecimal},
    {"KPEN", kVkReturn},
    {"KP0", kVkNumpad0},
    {"KP1", kVkNumpad0 + 1},
    {"KP2", kVkNumpad0 + 2},
    {"KP3", kVkNumpad0 + 3},
    {"KP4", kVkNumpad0 + 4},
    {"KP5", kVkNumpad0 + 5},
    {"KP6", kVkNumpad0 + 6},
    {"KP7", kVkNumpad0 + 7},
    {"KP8", kVkNumpad0 + 8},
    {"KP9", kVkNumpad0 + 9},
    {"RTRN", kVkReturn},
    {"SPCE", kVkSpace},
    {"TAB", kVkTab},
    {"BKSP", kVkBack},
    {"ESC", kVkEscape},
    // The digit row keeps its digit codes whatever it types plain, as AZERTY keys do.
    {"AE01", '1'},
    {"AE02", '2'},
    {"AE03", '3'},
    {"AE04", '4'},
    {"AE05", '5'},
    {"AE06", '6'},
    {"AE07", '7'},
    {"AE08", '8'},
    {"AE09", '9'},
    {"AE10", '0'},
};

// Letter positions of a US keyboard, for layouts whose letters are not Latin.
constexpr NamedKey kUsLetterKeys[] = {
    {"AD01", 'Q'}, {"AD02", 'W'}, {"AD03", 'E'}, {"AD04", 'R'}, {"AD05", 'T'}, {"AD06", 'Y'},
    {"AD07", 'U'}, {"AD08", 'I'}, {"AD09", 'O'}, {"AD10", 'P'}, {"AC01", 'A'}, {"AC02", 'S'},
    {"AC03", 'D'}, {"AC04", 'F'}, {"AC05", 'G'}, {"AC06", 'H'}, {"AC07", 'J'}, {"AC08", 'K'},
    {"AC09", 'L'}, {"AB01", 'Z'}, {"AB02", 'X'}, {"AB03", 'C'}, {"AB04", 'V'}, {"AB05", 'B'},
    {"AB06", 'N'}, {"AB07", 'M'},
};

// The VK_OEM_* code of each punctuation position on a US keyboard.
constexpr NamedKey kUsOemKeys[] = {
    {"TLDE", 192}, {"AE11", 189}, {"AE12", 187}, {"AD11", 219}, {"AD12", 221}, {"BKSL", 220},
    {"AC10", 186}, {"AC11", 222}, {"AB08", 188}, {"AB09", 190}, {"AB10", 191}, {"LSGT", 226},
};

constexpr int kOemCodes[] = {186, 187, 188, 189, 190, 191, 192, 219, 220, 221, 222, 223, 226};

int FindNamed(const NamedKey* table, std::size_t count, std::string_view name) {
  for (std::size_t i = 0; i < count; ++i) {
    if (name == table[i].name) return table[i].vk;
  }
  return 0;
}

// The alphanumeric block, whose codes depend on what the layout puts there.
bool IsMainBlockKey(std::string_view name) {
  if (name == "TLDE" || name == "BKSL" || name == "LSGT") return true;
  return name.size() == 4 && name[0] == 'A' && std::strchr("EDCB", name[1]) != nullptr &&
         name[2] >= '0' && name[2] <= '9' && name[3] >= '0' && name[3] <= '9';
}

class XkbKeyLayout final : public KeyLayout, public QAbstractNativeEventFilter {
 public:
  XkbKeyLayout(xcb_connection_t* connection, int32_t device, uint8_t event_base)
      : connection_(connection),
        device_(device),
        event_base_(event_base),
        context_(xkb_context_new(XKB_CONTEXT_NO_FLAGS)) {}

  ~XkbKeyLayout() override {
    if (QCoreApplication* app = QCoreApplication::instance()) app->removeNativeEventFilter(this);
  }

  bool Load() {
    if (!context_) return false;
    std::unique_ptr<xkb_keymap, XkbFree> keymap(xkb_x11_keymap_new_from_device(
        context_.get(), connection_, device_, XKB_KEYMAP_COMPILE_NO_FLAGS));
    if (!keymap) return false;
    std::unique_ptr<xkb_state, XkbFree> state(
        xkb_x11_state_new_from_device(keymap.get(), connection_, device_));
    if (!state) return false;
    keymap_ = std::move(keymap);
    state_ = std::move(state);
    AssignVirtualKeys();
    return true;
  }

  int VkKeyScan(unsigned char c) const override;
  int VirtualKeyOf(const QKeyEvent& event) const override;

  // Qt has the server send the XKB keymap and state notifications to its connection; they
  // pass here first, so the layout follows a switch the moment Qt's own keyboard does.
  bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
    if (type != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) != event_base_) return false;
    const auto* any = reinterpret_cast<const xcb_xkb_map_notify_event_t*>(event);
    if (any->deviceID != device_) return false;
    switch (any->xkbType) {
      case XCB_XKB_NEW_KEYBOARD_NOTIFY:
      case XCB_XKB_MAP_NOTIFY:
        Load();
        break;
      case XCB_XKB_STATE_NOTIFY: {
        const auto* s = reinterpret_cast<const xcb_xkb_state_notify_event_t*>(event);
        if (!state_) break;
        const xkb_layout_index_t before =
            xkb_state_serialize_layout(state_.get(), XKB_STATE_LAYOUT_EFFECTIVE);
        xkb_state_update_mask(state_.get(), s->baseMods, s->latchedMods, s->lockedMods,
                              static_cast<xkb_layout_index_t>(s->baseGroup),
                              static_cast<xkb_layout_index_t>(s->latchedGroup),
                              static_cast<xkb_layout_index_t>(s->lockedGroup));
        if (xkb_state_serialize_layout(state_.get(), XKB_STATE_LAYOUT_EFFECTIVE) != before) {
          AssignVirtualKeys();
        }
        break;
      }
      default:
        break;
    }
    return false;  // Qt needs these as well
  }

 private:
  std::string_view NameOf(xkb_keycode_t key) const {
    const char* name = xkb_keymap_key_get_name(keymap_.get(), key);
    return name != nullptr ? std::string_view(name) : std::string_view();
  }

  // The character a key types at a level of the active layout; 0 for none or a dead key.
  char32_t CharAt(xkb_keycode_t key, xkb_level_index_t level) const {
    const xkb_layout_index_t layout = xkb_state_key_get_layout(state_.get(), key);
    if (layout == XKB_LAYOUT_INVALID) return 0;
    const xkb_keysym_t* syms = nullptr;
    if (xkb_keymap_key_get_syms_by_level(keymap_.get(), key, layout, level, &syms) != 1) {
      return 0;
    }
    return xkb_keysym_to_utf32(syms[0]);
  }

  int ShiftStateOfLevel(xkb_keycode_t key, xkb_level_index_t level) const;
  void AssignVirtualKeys();

  xcb_connection_t* connection_;
  int32_t device_;
  uint8_t event_base_;
  std::unique_ptr<xkb_context, XkbFree> context_;
  std::unique_ptr<xkb_keymap, XkbFree> keymap_;
  std::unique_ptr<xkb_state, XkbFree> state_;
  std::vector<int> virtual_keys_;  // by X keycode, for the active layout
};

// Windows knows Shift, Ctrl and Alt, with AltGr as Ctrl+Alt; a level that needs Caps Lock,
// Num Lock or another modifier has no shift state there. -1 then.
int XkbKeyLayout::ShiftStateOfLevel(xkb_keycode_t key, xkb_level_index_t level) const {
  const xkb_layout_index_t layout = xkb_state_key_get_layout(state_.get(), key);
  xkb_mod_mask_t masks[16];
  const std::size_t count =
      xkb_keymap_key_get_mods_for_level(keymap_.get(), key, layout, level, masks, 16);
  struct ModState {
    const char* name;
    int state;
  };
  constexpr ModState kMods[] = {
      {XKB_MOD_NAME_SHIFT, kShiftStateShift},
      {XKB_MOD_NAME_CTRL, kShiftStateControl},
      {XKB_MOD_NAME_ALT, kShiftStateAlt},
      {"Mod5", kShiftStateControl | kShiftStateAlt},  // where X puts AltGr (LevelThree)
      {"LevelThree", kShiftStateControl | kShiftStateAlt},
  };
  int best = -1;
  for (std::size_t m = 0; m < count; ++m) {
    xkb_mod_mask_t rest = masks[m];
    int state = 0;
    for (const ModState& mod : kMods) {
      const xkb_mod_index_t index = xkb_keymap_mod_get_index(keymap_.get(), mod.name);
      if (index == XKB_MOD_INVALID || (rest & (1u << index)) == 0) continue;
      rest &= ~(1u << index);
      state |= mod.state;
    }
    if (rest == 0 && (best == -1 || state < best)) best = state;
  }
  return best;
}

// Gives every key of the alphanumeric block a code of its own, so that the key found for a
// character and the key an event names always agree: digits and letters by what they are,
// the keys carrying "+", ",", "-" and "." by that character (as Windows does), the rest of
// the punctuation by US position, and any key left over the next free VK_OEM_* code.
void XkbKeyLayout::AssignVirtualKeys() {
  const xkb_keycode_t min = xkb_keymap_min_keycode(keymap_.get());
  const xkb_keycode_t max = xkb_keymap_max_keycode(keymap_.get());
  virtual_keys_.assign(max + 1, 0);
  std::vector<bool> used(256, false);
  std::vector<xkb_keycode_t> open;  // main-block keys without a code yet
  auto assign = [&](xkb_keycode_t key, int vk) {
    virtual_keys_[key] = vk;
    used[vk] = true;
  };

  for (xkb_keycode_t key = min; key <= max; ++key) {
    const std::string_view name = NameOf(key);
    if (int vk = FindNamed(kNamedKeys, std::size(kNamedKeys), name)) {
      assign(key, vk);
    } else if (IsMainBlockKey(name)) {
      const char32_t c = CharAt(key, 0);
      if (c >= 'a' && c <= 'z') {
        assign(key, static_cast<int>(c - 'a' + 'A'));
      } else {
        open.push_back(key);
      }
    }
  }
  auto assign_open = [&](auto code_of) {
    std::vector<xkb_keycode_t> still_open;
    for (xkb_keycode_t key : open) {
      const int vk = code_of(key);
      if (vk != 0 && !used[vk]) {
        assign(key, vk);
      } else {
        still_open.push_back(key);
      }
    }
    open.swap(still_open);
  };
  assign_open([this](xkb_keycode_t key) {
    const char32_t c = CharAt(key, 0);
    if (c <= 0x7F || c == 0) return 0;
    // Non-Latin letters sit where the US keyboard has its letters.
    return FindNamed(kUsLetterKeys, std::size(kUsLetterKeys), NameOf(key));
  });
  assign_open([this](xkb_keycode_t key) {
    for (xkb_level_index_t level : {0u, 1u}) {
      switch (CharAt(key, level)) {
        case '+':
          return kVkOemPlus;
        case ',':
          return kVkOemComma;
        case '-':
          return kVkOemMinus;
        case '.':
          return kVkOemPeriod;
        default:
          break;
      }
    }
    return 0;
  });
  assign_open([this](xkb_keycode_t key) {
    return FindNamed(kUsOemKeys, std::size(kUsOemKeys), NameOf(key));
  });
  assign_open([&used](xkb_keycode_t) {
    for (int vk : kOemCodes) {
      if (!used[vk]) return vk;
    }
    return 0;
  });
}

int XkbKeyLayout::VkKeyScan(unsigned char c) const {
  if (!keymap_ || c == 0) return -1;
  const QString text = FromAnsi(std::string_view(reinterpret_cast<const char*>(&c), 1));
  const char32_t wanted = text.at(0).unicode();
  // The main keyboard before the keypad, then the fewest modifiers, then the lowest key.
  int best = -1;
  int best_rank = 0;
  const xkb_keycode_t max = xkb_keymap_max_keycode(keymap_.get());
  for (xkb_keycode_t key = xkb_keymap_min_keycode(keymap_.get()); key <= max; ++key) {
    const int vk = virtual_keys_[key];
    if (vk == 0) continue;
    const xkb_layout_index_t layout = xkb_state_key_get_layout(state_.get(), key);
    if (layout == XKB_LAYOUT_INVALID) continue;
    const bool keypad = NameOf(key).substr(0, 2) == "KP";
    const xkb_level_index_t levels = xkb_keymap_num_levels_for_key(keymap_.get(), key, layout);
    for (xkb_level_index_t level = 0; level < levels; ++level) {
      if (CharAt(key, level) != wanted) continue;
      const int state = ShiftStateOfLevel(key, level);
      if (state < 0) continue;
      const int rank = (keypad ? 0x10000 : 0) + state;
      if (best == -1 || rank < best_rank) {
        best = state | vk;
        best_rank = rank;
      }
    }
  }
  return best;
}

int XkbKeyLayout::VirtualKeyOf(const QKeyEvent& event) const {
  if (int vk = LayoutIndependentVirtualKey(event)) return vk;
  // Qt's X11 events carry the X keycode of the physical key; synthesised ones carry none.
  const quint32 key = event.nativeScanCode();
  if (key != 0 && key < virtual_keys_.size() && virtual_keys_[key] != 0) {
    return virtual_keys_[key];
  }
  return VirtualKeyFromCharacter(event, *this);
}

}  // namespace

std::unique_ptr<KeyLayout> MakeXkbKeyLayout() {
  auto* app = qGuiApp;
  if (app == nullptr) return nullptr;
  auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr || x11->connection() == nullptr) return nullptr;
  xcb_connection_t* connection = x11->connection();
  uint8_t event_base = 0;
  if (!xkb_x11_setup_xkb_extension(
          connection, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
          XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, &event_base, nullptr)) {
    return nullptr;
  }
  const int32_t device = xkb_x11_get_core_keyboard_device_id(connection);
  if (device < 0) return nullptr;
  auto layout = std::make_unique<XkbKeyLayout>(connection, device, event_base);
  if (!layout->Load()) return nullptr;
  app->installNativeEventFilter(layout.get());
  return layout;
}

}  // namespace numvex
