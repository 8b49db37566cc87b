#include "xml/XmlText.h"

namespace tavrel::xml {

std::u16string_view TrimLeft(std::u16string_view text) {
  size_t i = 0;
  while (i < text.size() && IsSpaceUnit(text[i])) ++i;
  return text.substr(i);
}

std::u16string_view TrimRight(std::u16string_view text) {
  size_t n = text.size();
  while (n > 0 && IsSpaceUnit(text[n - 1])) --n;
  return text.substr(0, n);
}

std::u16string Trim(std::u16string_view text) { return std::u16string(TrimView(text)); }

void ReplaceAll(std::u16string& text, char16_t from, char16_t to) {
  for (char16_t& c : text) {
    if (c == from) c = to;
  }
}

}  // namespace tavrel::xml
