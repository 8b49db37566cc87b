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
    e == kEntities.end() ? out += c : (out += u'&') += e->name;
  }
  return out;
}

std::u16string DecodeEntities(std::u16string_view text) {
  std::u16string out(text);
  out.resize(DecodeEntitiesInPlace(out.data(), out.size()));
  return out;
}

size_t DecodeEntitiesInPlace(char16_t* text, size_t size, size_t offset) {
  char16_t* at = text;
  const char16_t* from = text + offset;
  const char16_t* const end = from + size;
  const auto keep = [&at](const char16_t* first, const char16_t* last) {
    at = std::char_traits<char16_t>::move(at, first, static_cast<size_t>(last - first)) + (last - first);
  };
  for (const char16_t* amp; (amp = FindUnit(from, end, u'&')) != end;) {
    keep(from, amp);
    const std::u16string_view rest(amp + 1, static_cast<size_t>(end - amp - 1));
    const auto e = std::find_if(kEntities.begin(), kEntities.end(), [rest](const Entity& entity) {
      return rest.substr(0, entity.name.size()) == entity.name;
    });
    *at++ = e == kEntities.end() ? u'&' : e->character;
    from = amp + 1 + (e == kEntities.end() ? 0 : e->name.size());
  }
  keep(from, end);
  return static_cast<size_t>(at - text);
}

}  // namespace tavrel::xml
