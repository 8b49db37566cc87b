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
#include <vector>

#include "xml/ProfileEncoding.h"
#include "xml/ProfileResult.h"
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
  // LoadFile, saying what came of it: Loaded; CutShort when the text ends
  // inside a tag or before the first element's end tag (the place is the
  // end of the file); EmptyFile; or why the file could not be opened or
  // read, with the system's code. LoadFile answers 1 when this is Ok().
  ProfileResult LoadFileWithResult(std::u16string_view fileName, ProfileEncoding mode);
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

  // Whether the text ended inside a tag or before the first element's end
  // tag, as a file cut short by a failed write does.
  bool EndedEarly() const;
  // The "<" of the element's tag in Document(); nullptr for the root and
  // for a tag with a further "<" inside it (its text was rebuilt).
  const char16_t* TagStart(const CXmlElement& element) const;
  // Sets the place of `at` (in Document(), or its end) in the file the
  // document was read from: byte offset, line and column.
  void SetPlace(const char16_t* at, ProfileResult& result) const;

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
  // Where the line feeds stood before they were blanked, and how the text
  // was stored in its file: what a place in the document is in the file.
  std::vector<uint32_t> lineFeeds_;
  bool fileUtf16_ = true;
  bool fileMark_ = false;
  bool rootClosed_ = false;
  bool tagOpenAtEnd_ = false;
  XmlArena arena_;
  CXmlElement root_;
  CXmlElement* current_ = &root_;
};

}  // namespace tavrel::xml
