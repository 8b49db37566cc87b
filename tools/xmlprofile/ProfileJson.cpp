#include "tools/xmlprofile/ProfileJson.h"

#include "platform/Text.h"

namespace tavrel::tools {

namespace {

using nlohmann::json;

json ElementToJson(const xml::CXmlElement& element, int depth) {
  json node = {{"name", text::ToUtf8(element.Name())},
               {"attributes", text::ToUtf8(element.AttributeText())},
               {"text", text::ToUtf8(element.Text())}};
  if (depth >= kMaxTreeDepth && element.ChildCount() > 0) {
    node["truncated"] = true;
    return node;
  }
  json children = json::array();
  for (size_t i = 0; i < element.ChildCount(); ++i)
    children.push_back(ElementToJson(element.Child(i), depth + 1));
  node["children"] = std::move(children);
  return node;
}

}  // namespace

json SectionsToJson(const xml::CXmlProfile& profile) {
  json sections = json::array();
  for (const xml::ProfileSection& section : profile.Sections()) {
    json keys = json::array();
    for (const xml::ProfileKey& key : section.keys) {
      keys.push_back({{"name", text::ToUtf8(key.name)},
                      {"value", text::ToUtf8(key.value)},
                      {"readonly", key.readOnly != 0}});
    }
    sections.push_back({{"name", text::ToUtf8(section.name)},
                        {"readonly", section.readOnly != 0},
                        {"keys", std::move(keys)}});
  }
  return sections;
}

json TreeToJson(const xml::CXmlElement& root) { return ElementToJson(root, 0); }

}  // namespace tavrel::tools
