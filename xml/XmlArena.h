// The memory of one parsed document: its elements in blocks that double in
// size, the child table that gives every element its children in order, and
// the few texts that are not runs of the document (assembled around stray
// markup characters).
#pragma once

#include <cstddef>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "xml/XmlElement.h"

namespace tavrel::xml {

class XmlArena {
 public:
  // A fresh element; it stays at its address until Clear.
  CXmlElement* NewElement();
  // Keeps `text` until Clear and gives a view of it.
  std::u16string_view Keep(std::u16string text);
  // Gives `root` and every element made since the last Clear its run of the
  // child table, children in the order they were made.
  void LinkChildren(CXmlElement& root);
  // Frees everything (a flat loop over the blocks).
  void Clear();

  size_t ElementCount() const { return count_; }

 private:
  template <class Visit>
  void ForEachElement(Visit visit);

  std::vector<std::unique_ptr<CXmlElement[]>> blocks_;
  std::vector<size_t> blockSizes_;
  size_t usedInLast_ = 0;
  size_t count_ = 0;
  std::unique_ptr<CXmlElement*[]> childTable_;
  std::deque<std::u16string> texts_;
};

}  // namespace tavrel::xml
