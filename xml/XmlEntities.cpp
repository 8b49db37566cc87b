#include "xml/XmlEntities.h"

#include <array>

namespace tavrel::xml {

namespace {

struct Entity {
  char16_t character;
  std::u16string_view name;  // without the leading "&"
};

constexpr std::array<Entity, 4> kEntities = {{
    {u'&', u"amp;"},
    {u'"', u"quot;"},
    {u'<', u"lt;"},
    {u'>', u"gt;"},
}};

}  // namespace

std::u16string EscapeAttribute(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (char16_t c : text) {
    bool replaced = false;
    for (const Entity& e : kEntities) {
      if (c == e.character) {
        out += u'&';
        out += e.name;
        replaced = true;
        break;
      }
    }
    if (!replaced) out += c;
  }
  return out;
}

std::u16string DecodeEntities(std::u16string_view text) {
  if (text.find(u'&') == std::u16string_view::npos) return std::u16string(text);
  std::u16string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    bool decoded = false;
    if (text[i] == u'&') {
      const std::u16string_view rest = text.substr(i + 1);
      for (const Entity& e : kEntities) {
        if (rest.substr(0, e.name.size()) == e.name) {
          out += e.character;
          i += 1 + e.name.size();
          decoded = true;
          break;
        }
      }
    }
    if (!decoded) out += text[i++];
  }
  return out;
}

}  // namespace tavrel::xml
