// The string operations the reader relies on, as free functions over UTF-16
// strings.
#pragma once

#include <string>
#include <string_view>

namespace tavrel::xml {

// Trimming of the units for which text::IsSpace holds.
std::u16string_view TrimLeft(std::u16string_view text);
std::u16string_view TrimRight(std::u16string_view text);
std::u16string Trim(std::u16string_view text);

// Replaces every occurrence of `from` by `to`.
void ReplaceAll(std::u16string& text, char16_t from, char16_t to);

}  // namespace tavrel::xml
