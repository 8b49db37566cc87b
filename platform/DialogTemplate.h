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
