#include "xml/XmlElement.h"

#include "platform/Text.h"
#include "xml/XmlEntities.h"

namespace tavrel::xml {

namespace {

// Where the attribute value begins: just past `name=` at the first place
// outside quotes where that text begins the attribute text or follows white
// space; npos when there is none.
size_t FindAttributeEquals(std::u16string_view attributes, std::u16string_view name) {
  bool inQuotes = false;
  for (size_t i = 0; i < attributes.size(); ++i) {
    const char16_t c = attributes[i];
    if (c == u'"') {
      inQuotes = !inQuotes;
      continue;
    }
    if (inQuotes) continue;
    if (i != 0 && !text::IsSpace(attributes[i - 1])) continue;
    const std::u16string_view rest = attributes.substr(i);
    if (rest.size() > name.size() && rest.substr(0, name.size()) == name && rest[name.size()] == u'=') {
      return i + name.size() + 1;
    }
  }
  return std::u16string_view::npos;
}

}  // namespace

void CXmlElement::Clear() {
  name_ = {};
  attributes_ = {};
  text_ = {};
  parent_ = nullptr;
  children_ = nullptr;
  childCount_ = 0;
  cursor_ = kNoCursor;
}

std::u16string CXmlElement::GetAttribute(std::u16string_view attributeName) const {
  const std::u16string_view attributes = attributes_;
  const size_t equals = FindAttributeEquals(attributes, attributeName);
  if (equals == std::u16string_view::npos) return {};
  // The one character after "=" is the opening delimiter.
  std::u16string_view value =
      equals + 1 >= attributes.size() ? std::u16string_view() : attributes.substr(equals + 1);
  const size_t quote = value.find(u'"');
  if (quote != std::u16string_view::npos) value = value.substr(0, quote);
  return DecodeEntities(value);
}

}  // namespace tavrel::xml
