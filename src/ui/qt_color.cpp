#include "ui/qt_color.h"

#include <array>

namespace numvex {
namespace {

struct SystemRole {
  QPalette::ColorGroup group;
  QPalette::ColorRole role;
};

// System colour index (the desktop colour table's numbering) -> the palette role that plays the
// same part on a Qt desktop. Captions and borders have no palette role of their own; they borrow
// the selection and window colours. Index 25 names no colour.
constexpr QPalette::ColorGroup kCurrent = QPalette::Current;
constexpr std::array<SystemRole, 31> kSystemRoles = {{
    {kCurrent, QPalette::Button},           // 0 scroll bar
    {kCurrent, QPalette::Dark},             // 1 desktop background
    {kCurrent, QPalette::Highlight},        // 2 active caption
    {kCurrent, QPalette::Mid},              // 3 inactive caption
    {kCurrent, QPalette::Window},           // 4 menu
    {kCurrent, QPalette::Base},             // 5 window (edit field) background
    {kCurrent, QPalette::Shadow},           // 6 window frame
    {kCurrent, QPalette::WindowText},       // 7 menu text
    {kCurrent, QPalette::Text},             // 8 window (edit field) text
    {kCurrent, QPalette::HighlightedText},  // 9 caption text
    {kCurrent, QPalette::Window},           // 10 active border
    {kCurrent, QPalette::Window},           // 11 inactive border
    {kCurrent, QPalette::Dark},             // 12 application work space
    {kCurrent, QPalette::Highlight},        // 13 selection
    {kCurrent, QPalette::HighlightedText},  // 14 selected text
    {kCurrent, QPalette::Button},           // 15 button face (clBtnFace)
    {kCurrent, QPalette::Dark},             // 16 button shadow
    {QPalette::Disabled, QPalette::Text},   // 17 grey text
    {kCurrent, QPalette::ButtonText},       // 18 button text
    {kCurrent, QPalette::WindowText},       // 19 inactive caption text
    {kCurrent, QPalette::Light},            // 20 button highlight
    {kCurrent, QPalette::Shadow},           // 21 3-D dark shadow
    {kCurrent, QPalette::Midlight},         // 22 3-D light
    {kCurrent, QPalette::ToolTipText},      // 23 info text
    {kCurrent, QPalette::ToolTipBase},      // 24 info background
    {kCurrent, QPalette::NoRole},           // 25 unused
    {kCurrent, QPalette::Link},             // 26 hot-tracked item
    {kCurrent, QPalette::Highlight},        // 27 active caption gradient
    {kCurrent, QPalette::Mid},              // 28 inactive caption gradient
    {kCurrent, QPalette::Highlight},        // 29 menu highlight
    {kCurrent, QPalette::Window},           // 30 menu bar
}};

}  // namespace

QColor ToQColor(TColor value, const QPalette& palette) {
  if (value == clNone) return QColor();
  if (IsSystemColor(value)) {
    const int index = SystemColorIndex(value);
    if (index >= static_cast<int>(kSystemRoles.size())) return QColor();
    const SystemRole& system = kSystemRoles[index];
    if (system.role == QPalette::NoRole) return QColor();
    return palette.color(system.group, system.role);
  }
  return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

}  // namespace numvex
