// An XML document as a tree of elements with their attributes, read at once
// so that references (use, paint servers) can point anywhere in it.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tavrel::hostmodel {

struct Element {
  std::string name;  // local name
  std::vector<std::pair<std::string, std::string>> attributes;
  std::vector<Element> children;
  // The text directly inside it (CDATA sections included), as one string.
  std::string text;

  const std::string* Attribute(std::string_view attribute) const;
};

struct ElementTree {
  Element root;
  // Elements by their "id" (the first one wins).
  std::map<std::string, const Element*, std::less<>> ids;
  // Each element's parent (none for the root).
  std::map<const Element*, const Element*> parents;
};

// Deeper nesting than this is refused.
constexpr std::size_t kMaxElementDepth = 256;

// Throws std::runtime_error when the file cannot be read, is not
// well-formed, is empty or nests too deep.
std::unique_ptr<ElementTree> ReadElementTree(const std::filesystem::path& file);

}  // namespace tavrel::hostmodel
