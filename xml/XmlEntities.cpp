#include <algorithm>
#include <array>
#include <memory_resource>

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

namespace {

// Hands the decoded text to `put` run by run.
template <class Put>
void DecodeRuns(std::u16string_view text, Put put) {
  for (size_t amp = FindUnit(text, u'&'); amp != std::u16string_view::npos; amp = FindUnit(text, u'&')) {
    put(text.substr(0, amp));
    text.remove_prefix(amp + 1);
    const auto e = std::find_if(kEntities.begin(), kEntities.end(), [text](const Entity& entity) {
      return text.substr(0, entity.name.size()) == entity.name;
    });
    put(e == kEntities.end() ? u"&" : std::u16string_view(&e->character, 1));
    if (e != kEntities.end()) text.remove_prefix(e->name.size());
  }
  put(text);
}

// Into memory of the decoded text's size.
template <class String>
void Decode(std::u16string_view text, String& out) {
  size_t size = 0;
  DecodeRuns(text, [&size](std::u16string_view run) { size += run.size(); });
  out.clear();
  out.reserve(size);
  DecodeRuns(text, [&out](std::u16string_view run) { out.append(run); });
}

}  // namespace

void DecodeEntities(std::u16string_view text, std::u16string& out) { Decode(text, out); }
void DecodeEntities(std::u16string_view text, std::pmr::u16string& out) { Decode(text, out); }

}  // namespace tavrel::xml
