// A dialog template as data: what a resource script's DIALOGEX statement
// says. The native build's dialog stand-in creates its controls from it;
// tests compare it with the template compiled into the Windows module.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace tavrel::platform {

// The predefined window classes, numbered by their atoms in templates.
enum class ControlClass { Button = 0x80, Edit, Static, ListBox, ScrollBar, ComboBox };

// Window, dialog and control styles by their Windows values. The build
// writes the native template from the compiled resource script in these
// names; a style bit without a name here stops that build.
namespace style {
// Windows (the high word).
constexpr uint32_t kWsPopup = 0x80000000;
constexpr uint32_t kWsChild = 0x40000000;
constexpr uint32_t kWsVisible = 0x10000000;
constexpr uint32_t kWsDisabled = 0x08000000;
constexpr uint32_t kWsCaption = 0x00C00000;
constexpr uint32_t kWsBorder = 0x00800000;
constexpr uint32_t kWsVScroll = 0x00200000;
constexpr uint32_t kWsHScroll = 0x00100000;
constexpr uint32_t kWsSysMenu = 0x00080000;
// Of a control: the first of a group, and reached with the tab key.
constexpr uint32_t kWsGroup = 0x00020000;
constexpr uint32_t kWsTabStop = 0x00010000;
// Dialogs.
constexpr uint32_t kDsSetFont = 0x00000040;
constexpr uint32_t kDsModalFrame = 0x00000080;
constexpr uint32_t kDsFixedSys = 0x00000008;
// Buttons: the type is the low four bits, one of these values.
constexpr uint32_t kBsTypeMask = 0x0000000F;
constexpr uint32_t kBsPushButton = 0x00000000;
constexpr uint32_t kBsDefPushButton = 0x00000001;
constexpr uint32_t kBsCheckBox = 0x00000002;
constexpr uint32_t kBsAutoCheckBox = 0x00000003;
constexpr uint32_t kBsRadioButton = 0x00000004;
constexpr uint32_t kBsGroupBox = 0x00000007;
constexpr uint32_t kBsAutoRadioButton = 0x00000009;
// Combo boxes: the type is the low two bits.
constexpr uint32_t kCbsTypeMask = 0x00000003;
constexpr uint32_t kCbsSimple = 0x00000001;
constexpr uint32_t kCbsDropDown = 0x00000002;
constexpr uint32_t kCbsDropDownList = 0x00000003;
// Static text: the alignment is the low bits, one of these values.
constexpr uint32_t kSsTypeMask = 0x0000001F;
constexpr uint32_t kSsLeft = 0x00000000;
constexpr uint32_t kSsCenter = 0x00000001;
constexpr uint32_t kSsRight = 0x00000002;
}  // namespace style

struct DialogItemTemplate {
  int id;
  ControlClass controlClass;
  std::u16string_view text;
  int16_t x, y, cx, cy;
  uint32_t style;
};

struct DialogTemplate {
  uint32_t style;
  int16_t x, y, cx, cy;
  std::u16string_view title;
  std::u16string_view fontName;
  uint16_t pointSize;
  uint16_t weight;
  bool italic;
  uint8_t charset;
  std::span<const DialogItemTemplate> items;
};

}  // namespace tavrel::platform
