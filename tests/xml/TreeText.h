// A compact, readable form of an element tree for expectations:
// name[attributes]{text}(child child ...), empty parts left out.
#pragma once

#include <string>

#include "xml/XmlElement.h"

namespace tavrel::xml::testing {

std::string TreeText(const CXmlElement& element);

}  // namespace tavrel::xml::testing
