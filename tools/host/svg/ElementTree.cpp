#include "tools/host/svg/ElementTree.h"

#include <stdexcept>

#include "tools/host/svg/XmlSource.h"

namespace tavrel::hostmodel {
namespace {

void IndexIds(const Element& element, ElementTree& tree) {
  if (const std::string* id = element.Attribute("id")) tree.ids.emplace(*id, &element);
  for (const Element& child : element.children) {
    tree.parents.emplace(&child, &element);
    IndexIds(child, tree);
  }
}

}  // namespace

const std::string* Element::Attribute(std::string_view attribute) const {
  for (const auto& [key, value] : attributes) {
    if (key == attribute) return &value;
  }
  return nullptr;
}

std::unique_ptr<ElementTree> ReadElementTree(const std::filesystem::path& file) {
  std::unique_ptr<XmlSource> xml = OpenXml(file);
  auto tree = std::make_unique<ElementTree>();
  // The open elements from the root down; each is the last child of the one
  // before, so adding to the innermost never moves them.
  std::vector<Element*> open;
  bool seenRoot = false;
  XmlEvent event;
  while (xml->Next(event)) {
    if (event.text) {
      if (!open.empty()) open.back()->text += event.content;
      continue;
    }
    if (!event.start) {
      if (!open.empty()) open.pop_back();
      continue;
    }
    Element element{std::move(event.name), std::move(event.attributes), {}, {}};
    if (!seenRoot) {
      tree->root = std::move(element);
      open.push_back(&tree->root);
      seenRoot = true;
      continue;
    }
    if (open.empty()) throw std::runtime_error("content after the root element");
    if (open.size() >= kMaxElementDepth) {
      throw std::runtime_error("elements are nested deeper than " + std::to_string(kMaxElementDepth));
    }
    open.back()->children.push_back(std::move(element));
    open.push_back(&open.back()->children.back());
  }
  if (!seenRoot) throw std::runtime_error("the document is empty");
  IndexIds(tree->root, *tree);
  return tree;
}

}  // namespace tavrel::hostmodel
