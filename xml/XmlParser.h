// A lenient single-pass tag scanner that builds a CXmlElement tree. It never
// reports malformed markup: end tags end the current element whatever their
// name, unclosed elements stay open, and declarations, processing
// instructions and comments are skipped.
//
// The document is kept in one buffer; element names, attribute texts and
// character data are views into it, and the elements live in an arena per
// document, so a parse makes a handful of allocations whatever its size.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "xml/ProfileEncoding.h"
#include "xml/XmlArena.h"
#include "xml/XmlElement.h"

namespace tavrel::xml {

enum class TagType : int32_t { Skip = -1, Open = 0, Close = 1, Empty = 2 };

class CXmlParser {
 public:
  CXmlParser() = default;
  virtual ~CXmlParser() = default;
  CXmlParser(const CXmlParser&) = delete;
  CXmlParser& operator=(const CXmlParser&) = delete;

  // Reads the whole file (32-bit size) and parses its text: UTF-16 LE or the
  // ANSI code page as `mode` and the mark FF FE decide. 1 when the file was
  // read and decoded to non-empty text; 0 otherwise, and the tree is kept.
  int LoadFile(std::u16string_view fileName, ProfileEncoding mode);
  // Builds the tree afresh from the text; always 1.
  int Parse(std::u16string_view text);
  // Frees every element below the root and empties the root.
  void Reset();

  // Classifies collected tag text such as `<a b="c"/>` and gives the text
  // between the markup characters in `inner` ("/" of end and empty tags
  // dropped).
  static TagType GetTagType(std::u16string_view tag, std::u16string& inner);

  // The root is always there; its name is empty when nothing was parsed.
  CXmlElement* GetRoot() { return &root_; }
  // Walking: GetFirstChild(e), then GetNextChild(e) until nullptr. The cursor
  // lives in the element, so one walk per element can be under way at a time.
  CXmlElement* GetFirstChild(CXmlElement* element);
  CXmlElement* GetNextChild(CXmlElement* element);

  // The decoded document as parsed (line feeds, returns and tabs as spaces).
  const std::u16string& Document() const { return document_; }

 private:
  int ParseDocument(std::u16string text);
  // Reads document_, whose line breaks and tabs are spaces already.
  int ParseCurrentDocument();
  void Scan();
  // The tag [first, last), from its "<" to its ">"; `nested` when a further
  // "<" stands inside it.
  void ReadTag(const char16_t* first, const char16_t* last, bool nested);
  void ApplyTag(TagType kind, std::u16string_view inner);

  std::u16string document_;
  XmlArena arena_;
  CXmlElement root_;
  CXmlElement* current_ = &root_;
};

}  // namespace tavrel::xml
