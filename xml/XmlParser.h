// The element tree of a document read by the tag scanner (xml/XmlScan.h).
// The document is kept in one buffer; element names, attribute texts and
// character data are views into it, and the elements live in an arena per
// document, so a parse makes a handful of allocations whatever its size.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "xml/ProfileEncoding.h"
#include "xml/ProfileResult.h"
#include "xml/XmlElement.h"
#include "xml/XmlFileText.h"
#include "xml/XmlScan.h"

namespace tavrel::xml {

// The memory of one parsed document: its elements, which stay where they are
// made, the child table that gives every element its children in order, and
// the few texts that are not runs of the document.
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

class CXmlParser {
 public:
  CXmlParser() = default;
  virtual ~CXmlParser() = default;
  CXmlParser(const CXmlParser&) = delete;
  CXmlParser& operator=(const CXmlParser&) = delete;

  // Reads the file and parses its text: UTF-16 LE or the ANSI code page as
  // `mode` and the mark FF FE decide. 1 when the file was read and decoded
  // to non-empty text; 0 otherwise, and the tree is kept.
  int LoadFile(std::u16string_view fileName, ProfileEncoding mode) {
    return LoadFileWithResult(fileName, mode) ? 1 : 0;
  }
  // LoadFile, saying what came of it: Loaded; CutShort when the text ends
  // inside a tag or before the first element's end tag (placed at the end of
  // the text or at the tag of a section never closed); EmptyFile; or why the
  // file could not be opened or read (system code). LoadFile answers Ok().
  ProfileResult LoadFileWithResult(std::u16string_view fileName, ProfileEncoding mode,
                                   size_t pieceBytes = kProfilePieceBytes);
  // Builds the tree afresh from the text; always 1.
  int Parse(std::u16string_view text);
  // Parse, keeping `text` itself as the document rather than a copy.
  int ParseDocument(std::u16string text);
  // Frees every element below the root and empties the root.
  void Reset();

  static TagType GetTagType(std::u16string_view tag, std::u16string& inner) {
    return xml::GetTagType(tag, inner);
  }

  // The root is always there; its name is empty when nothing was parsed.
  CXmlElement* GetRoot() { return &root_; }
  // Walking: GetFirstChild(e), then GetNextChild(e) until nullptr. The cursor
  // lives in the element, so one walk per element can be under way at a time.
  CXmlElement* GetFirstChild(CXmlElement* element);
  CXmlElement* GetNextChild(CXmlElement* element);

  // The decoded document as parsed (line feeds, returns and tabs as spaces).
  const std::u16string& Document() const { return document_; }

 private:
  template <class>
  friend class TagScanner;
  static constexpr bool kWantsText = true;
  // The tag scanner's consumer.
  void Text(std::u16string_view text, bool transient);
  bool Root(std::u16string_view name, std::u16string_view attributes, bool transient);
  bool Element(size_t depth, std::u16string_view name, std::u16string_view attributes, const TextPlace& tag,
               std::pmr::u16string* carried);
  void Close();
  std::u16string_view Keep(std::u16string_view text, bool transient);

  std::u16string document_;
  bool endedEarly_ = false;
  TextPlace endPlace_;
  XmlArena arena_;
  CXmlElement root_;
  CXmlElement* current_ = &root_;
};

}  // namespace tavrel::xml
