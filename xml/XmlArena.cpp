#include "xml/XmlArena.h"

namespace tavrel::xml {

namespace {

constexpr size_t kFirstBlock = 64;
constexpr size_t kLargestBlock = size_t{1} << 16;

}  // namespace

CXmlElement* XmlArena::NewElement() {
  if (blocks_.empty() || usedInLast_ == blockSizes_.back()) {
    const size_t size = blocks_.empty()
                            ? kFirstBlock
                            : (blockSizes_.back() < kLargestBlock ? blockSizes_.back() * 2 : kLargestBlock);
    blocks_.push_back(std::make_unique<CXmlElement[]>(size));
    blockSizes_.push_back(size);
    usedInLast_ = 0;
  }
  ++count_;
  return &blocks_.back()[usedInLast_++];
}

std::u16string_view XmlArena::Keep(std::u16string text) { return texts_.emplace_back(std::move(text)); }

template <class Visit>
void XmlArena::ForEachElement(Visit visit) {
  for (size_t b = 0; b < blocks_.size(); ++b) {
    const size_t used = b + 1 == blocks_.size() ? usedInLast_ : blockSizes_[b];
    for (size_t i = 0; i < used; ++i) visit(blocks_[b][i]);
  }
}

void XmlArena::LinkChildren(CXmlElement& root) {
  if (count_ == 0) return;
  childTable_ = std::make_unique<CXmlElement*[]>(count_);
  // Every element but the root is the child of one element, so the runs of
  // all child counts fill the table exactly.
  size_t offset = 0;
  auto reserve = [this, &offset](CXmlElement& element) {
    element.children_ = childTable_.get() + offset;
    offset += element.childCount_;
    element.childCount_ = 0;
  };
  reserve(root);
  ForEachElement(reserve);
  ForEachElement([](CXmlElement& element) {
    CXmlElement& parent = *element.parent_;
    parent.children_[parent.childCount_++] = &element;
  });
}

void XmlArena::Clear() {
  blocks_.clear();
  blockSizes_.clear();
  usedInLast_ = 0;
  count_ = 0;
  childTable_.reset();
  texts_.clear();
}

}  // namespace tavrel::xml
