// The trimming the reader relies on, the four named entities of attribute
// values (&amp; &lt; &gt; &quot;), and a place in a text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Text.h"

namespace tavrel::xml {

// text::IsSpace, with printable ASCII answered inline.
inline bool IsSpaceUnit(char16_t c) { return c == u' ' || ((c < u' ' || c >= 0x7F) && text::IsSpace(c)); }

// The text without the units at either end for which text::IsSpace holds.
inline std::u16string_view TrimView(std::u16string_view text) {
  while (!text.empty() && IsSpaceUnit(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsSpaceUnit(text.back())) text.remove_suffix(1);
  return text;
}

// The first `unit` in [first, last), or `last`; eight units at a time where
// the processor can.
const char16_t* FindUnit(const char16_t* first, const char16_t* last, char16_t unit);
// std::u16string_view::find of one unit, the same way.
size_t FindUnit(std::u16string_view text, char16_t unit, size_t from = 0);

// Widens `count` bytes to units: ASCII as it is, the bytes from 0x80 up from
// `high` (their 128 units) or, without it, as they are. Whether any byte
// was 0x80 or above.
bool WidenBytes(const unsigned char* in, size_t count, char16_t* out, const char16_t* high);

// Writes & < > " as their entities, so a name or value can stand between
// double quotes in a tag.
std::u16string EscapeAttribute(std::u16string_view text);
// Decodes the four entities in one left-to-right pass: decoded text is never
// looked at again, so "&amp;lt;" gives "&lt;". Every other "&" stays as written.
std::u16string DecodeEntities(std::u16string_view text);
// The same in place, from text + offset to text (never longer); its size.
size_t DecodeEntitiesInPlace(char16_t* text, size_t size, size_t offset = 0);

// A unit of a text: its index from the start, and its line and column (both
// from 1, lines ended by line feeds, columns counting UTF-16 units).
struct TextPlace {
  uint64_t unit = 0;
  uint32_t line = 0;
  uint32_t column = 0;
};

}  // namespace tavrel::xml
