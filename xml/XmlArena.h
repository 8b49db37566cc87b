// The memory of one parsed document: its elements, which stay where they are
// made, the child table that gives every element its children in order, and
// the few texts that are not runs of the document.
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "xml/XmlElement.h"

namespace tavrel::xml {

class XmlArena {
 public:
  // A fresh element; it stays at its address until Clear.
  CXmlElement* NewElement() { return &elements_.emplace_back(); }
  // Keeps `text` until Clear and gives a view of it.
  std::u16string_view Keep(std::u16string text) { return texts_.emplace_back(std::move(text)); }
  // Gives `root` and every element made since the last Clear its run of the
  // child table, children in the order they were made.
  void LinkChildren(CXmlElement& root) {
    childTable_.assign(elements_.size(), nullptr);
    // Every element but the root is the child of one element, so the runs of
    // all child counts fill the table exactly.
    size_t offset = 0;
    auto reserve = [this, &offset](CXmlElement& element) {
      element.children_ = childTable_.data() + offset;
      offset += element.childCount_;
      element.childCount_ = 0;
    };
    reserve(root);
    for (CXmlElement& element : elements_) reserve(element);
    for (CXmlElement& element : elements_) {
      CXmlElement& parent = *element.parent_;
      parent.children_[parent.childCount_++] = &element;
    }
  }
  void Clear() {
    elements_.clear();
    childTable_.clear();
    texts_.clear();
  }

 private:
  std::deque<CXmlElement> elements_;
  std::vector<CXmlElement*> childTable_;
  std::deque<std::u16string> texts_;
};

}  // namespace tavrel::xml
