// JSON forms of a profile and of an element tree.
#pragma once

#include <nlohmann/json.hpp>

#include "xml/XmlElement.h"
#include "xml/XmlProfile.h"

namespace tavrel::tools {

// [{"name", "readonly", "keys": [{"name", "value", "readonly"}]}]
nlohmann::json SectionsToJson(const xml::CXmlProfile& profile);

// {"name", "attributes", "text", "children": [...]}. Below kMaxTreeDepth
// levels an element carries "truncated": true instead of its children, so
// any nesting gives bounded output and recursion.
constexpr int kMaxTreeDepth = 256;
nlohmann::json TreeToJson(const xml::CXmlElement& root);

}  // namespace tavrel::tools
