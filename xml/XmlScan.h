// Searching UTF-16 text for markup characters several units at a time.
#pragma once

namespace tavrel::xml {

// The first "<" or ">" in [first, last), or `last` when there is none.
const char16_t* FindTagMark(const char16_t* first, const char16_t* last);

// Replaces every line feed, carriage return and tab by a space.
void BlankLineBreaks(char16_t* first, char16_t* last);

}  // namespace tavrel::xml
