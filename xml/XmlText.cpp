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

}  // namespace tavrel::xml
