#include <algorithm>
#include <array>

#include "xml/XmlText.h"

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
    const auto e = std::find_if(kEntities.begin(), kEntities.end(),
                                [c](const Entity& entity) { return entity.character == c; });
    if (e == kEntities.end()) {
      out += c;
    } else {
      out += u'&';
      out += e->name;
    }
  }
  return out;
}

std::u16string DecodeEntities(std::u16string_view text) {
  std::u16string out;
  DecodeEntities(text, out);
  return out;
}

void DecodeEntities(std::u16string_view text, std::u16string& out) {
  out.clear();
  out.reserve(text.size());
  for (size_t amp = FindUnit(text, u'&'); amp != std::u16string_view::npos; amp = FindUnit(text, u'&')) {
    out.append(text.substr(0, amp + 1));
    text.remove_prefix(amp + 1);
    for (const Entity& e : kEntities) {
      if (text.substr(0, e.name.size()) == e.name) {
        out.back() = e.character;
        text.remove_prefix(e.name.size());
        break;
      }
    }
  }
  out.append(text);
}

}  // namespace tavrel::xml
