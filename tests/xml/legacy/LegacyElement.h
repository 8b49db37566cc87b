// One element of a parsed document: its name, the raw attribute text of its
// start tag, its character data and its owned children. Attributes are not
// split while parsing; GetAttribute searches the raw text each time.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tavrel::xml::legacy {

class CXmlElement {
 public:
  CXmlElement() = default;
  // Frees the whole subtree without recursion, so any depth of nesting is
  // safe.
  virtual ~CXmlElement();
  CXmlElement(const CXmlElement&) = delete;
  CXmlElement& operator=(const CXmlElement&) = delete;

  // The value of the attribute `attributeName` with &amp; &quot; &lt; &gt;
  // decoded; empty when there is none. A name counts only where it begins the
  // attribute text or follows white space, outside double-quoted values, and
  // is directly followed by "=". The character after "=" is taken as the
  // opening delimiter; the value runs to the next double quote or the end.
  std::u16string GetAttribute(std::u16string_view attributeName) const;

  const std::u16string& Name() const { return name_; }
  const std::u16string& AttributeText() const { return attributes_; }
  const std::u16string& Text() const { return text_; }
  const CXmlElement* Parent() const { return parent_; }
  size_t ChildCount() const { return children_.size(); }
  const CXmlElement& Child(size_t index) const { return *children_[index]; }

 private:
  friend class CXmlParser;
  static constexpr size_t kNoCursor = static_cast<size_t>(-1);

  // Empties the element: strings, children (iteratively), cursor and parent.
  void Clear();
  // Moves every descendant into a flat work list and frees them one by one;
  // each element freed there has no children left, so no destructor descends.
  static void DestroyChildren(std::vector<std::unique_ptr<CXmlElement>>& children);

  std::u16string name_;
  std::u16string attributes_;
  std::u16string text_;
  std::vector<std::unique_ptr<CXmlElement>> children_;
  size_t cursor_ = kNoCursor;
  CXmlElement* parent_ = nullptr;
};

}  // namespace tavrel::xml::legacy
