// The trimming the reader relies on, and a place in a text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Text.h"

namespace tavrel::xml {

// text::IsSpace, with printable ASCII answered inline.
inline bool IsSpaceUnit(char16_t c) { return c == u' ' || ((c < u' ' || c >= 0x7F) && text::IsSpace(c)); }

// Trimming of the units for which text::IsSpace holds.
std::u16string_view TrimLeft(std::u16string_view text);
std::u16string_view TrimRight(std::u16string_view text);
inline std::u16string_view TrimView(std::u16string_view text) { return TrimRight(TrimLeft(text)); }

// A unit of a text: its index from the start, and its line and column (both
// from 1, lines ended by line feeds, columns counting UTF-16 units).
struct TextPlace {
  uint64_t unit = 0;
  uint32_t line = 0;
  uint32_t column = 0;
};

}  // namespace tavrel::xml
