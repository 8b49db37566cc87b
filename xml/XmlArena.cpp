#include "xml/XmlArena.h"

namespace tavrel::xml {

void XmlArena::LinkChildren(CXmlElement& root) {
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

}  // namespace tavrel::xml
