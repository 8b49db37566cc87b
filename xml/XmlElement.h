// One element of a parsed document: its name, the raw attribute text of its
// start tag, its character data and its children; GetAttribute searches the
// raw text each time. Elements live in their parser's arena, their texts are
// views into its buffers, valid until it parses again, is reset or destroyed.
// An element owns nothing, so freeing a tree of any depth never recurses.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "xml/XmlText.h"

namespace tavrel::xml {

// Finds the raw values of `count` (at most 8) attributes in one pass over
// the attribute text, under GetAttribute's rules; an absent one is empty.
void FindAttributes(std::u16string_view attributes, const std::u16string_view* names,
                    std::u16string_view* values, size_t count);

class CXmlElement {
 public:
  CXmlElement() = default;
  virtual ~CXmlElement() = default;
  CXmlElement(const CXmlElement&) = delete;
  CXmlElement& operator=(const CXmlElement&) = delete;

  // The value of the attribute `attributeName` with &amp; &quot; &lt; &gt;
  // decoded; empty when there is none. A name counts only where it begins the
  // attribute text or follows white space, outside double-quoted values, and
  // is directly followed by "=". The character after "=" is taken as the
  // opening delimiter; the value runs to the next double quote or the end.
  std::u16string GetAttribute(std::u16string_view attributeName) const;

  std::u16string_view Name() const { return name_; }
  std::u16string_view AttributeText() const { return attributes_; }
  std::u16string_view Text() const { return text_; }
  const CXmlElement* Parent() const { return parent_; }
  size_t ChildCount() const { return childCount_; }
  const CXmlElement& Child(size_t index) const { return *children_[index]; }
  // Where the element's tag begins in the text parsed (line 0 for the root).
  const TextPlace& Place() const { return place_; }

 private:
  friend class CXmlParser;
  friend class XmlArena;
  static constexpr size_t kNoCursor = static_cast<size_t>(-1);

  // Empties the element: texts, children, cursor and parent.
  void Clear();

  std::u16string_view name_;
  std::u16string_view attributes_;
  std::u16string_view text_;
  CXmlElement* parent_ = nullptr;
  // While parsing only the count grows; when the document is done every
  // element gets its run of the parser's child table.
  CXmlElement** children_ = nullptr;
  size_t childCount_ = 0;
  size_t cursor_ = kNoCursor;
  TextPlace place_;
};

}  // namespace tavrel::xml
