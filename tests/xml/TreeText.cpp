#include "tests/xml/TreeText.h"

#include "platform/Text.h"

namespace tavrel::xml::testing {

std::string TreeText(const CXmlElement& element) {
  std::string out = text::ToUtf8(element.Name());
  if (!element.AttributeText().empty()) out += "[" + text::ToUtf8(element.AttributeText()) + "]";
  if (!element.Text().empty()) out += "{" + text::ToUtf8(element.Text()) + "}";
  if (element.ChildCount() > 0) {
    out += "(";
    for (size_t i = 0; i < element.ChildCount(); ++i) {
      if (i > 0) out += " ";
      out += TreeText(element.Child(i));
    }
    out += ")";
  }
  return out;
}

}  // namespace tavrel::xml::testing
