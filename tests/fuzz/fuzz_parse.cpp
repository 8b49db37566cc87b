// Parse on arbitrary UTF-16 text, then a walk over the whole tree reading the
// attributes the profile store asks for.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "xml/XmlParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::u16string text;
  for (size_t i = 0; i + 1 < size; i += 2) text += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
  tavrel::xml::CXmlParser parser;
  parser.Parse(text);
  std::vector<tavrel::xml::CXmlElement*> pending{parser.GetRoot()};
  while (!pending.empty()) {
    tavrel::xml::CXmlElement* element = pending.back();
    pending.pop_back();
    element->GetAttribute(u"name");
    element->GetAttribute(u"value");
    element->GetAttribute(u"readonly");
    for (auto* child = parser.GetFirstChild(element); child != nullptr;
         child = parser.GetNextChild(element)) {
      pending.push_back(child);
    }
  }
  std::u16string inner;
  tavrel::xml::CXmlParser::GetTagType(text, inner);
  return 0;
}
