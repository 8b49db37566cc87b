#include "xml/XmlElement.h"

namespace tavrel::xml {

void FindAttributes(std::u16string_view attributes, const std::u16string_view* names,
                    std::u16string_view* values, size_t count) {
  unsigned missing = (1U << count) - 1;
  for (size_t i = 0; i < count; ++i) values[i] = {};
  for (size_t i = 0; i < attributes.size() && missing != 0; ++i) {
    if (attributes[i] == u'"') {
      // A quoted run is passed over whole; the unit after it follows a quote.
      i = FindUnit(attributes, u'"', i + 1);
      if (i == std::u16string_view::npos) return;
      continue;
    }
    if (i != 0 && !IsSpaceUnit(attributes[i - 1])) continue;
    const std::u16string_view rest = attributes.substr(i);
    for (size_t n = 0; n < count; ++n) {
      const std::u16string_view name = names[n];
      if ((missing & (1U << n)) == 0 || rest.size() <= name.size() || rest[name.size()] != u'=' ||
          rest.compare(0, name.size(), name) != 0) {
        continue;
      }
      missing &= ~(1U << n);
      // The one character after "=" is the opening delimiter. A value opened
      // by a quote is a quoted run, passed over whole.
      const size_t start = i + name.size() + 2;
      if (start > attributes.size()) break;
      const size_t end = FindUnit(attributes, u'"', start);
      values[n] = attributes.substr(start, end - start);
      if (attributes[start - 1] != u'"') break;
      if (end == std::u16string_view::npos) return;
      i = end;
      break;
    }
  }
}

void CXmlElement::Clear() {
  name_ = attributes_ = text_ = {};
  parent_ = nullptr;
  children_ = nullptr;
  childCount_ = 0;
  cursor_ = kNoCursor;
  place_ = {};
}

std::u16string CXmlElement::GetAttribute(std::u16string_view attributeName) const {
  std::u16string_view value;
  FindAttributes(attributes_, &attributeName, &value, 1);
  return DecodeEntities(value);
}

}  // namespace tavrel::xml
