#include "tests/xml/legacy/LegacyParser.h"

#include "xml/XmlFileText.h"
#include "xml/XmlText.h"

namespace tavrel::xml::legacy {

namespace {

// Splits `inner` at its first space into a name and the trimmed rest.
void SplitNameAndAttributes(std::u16string_view inner, std::u16string& name, std::u16string& attributes) {
  const size_t space = inner.find(u' ');
  if (space == std::u16string_view::npos) {
    name.assign(inner);
    attributes.clear();
  } else {
    name.assign(inner.substr(0, space));
    attributes = Trim(inner.substr(space + 1));
  }
}

}  // namespace

int CXmlParser::LoadFile(std::u16string_view fileName, ProfileEncoding mode) {
  std::u16string text = legacy::ReadFileText(fileName, mode);
  if (text.empty()) return 0;
  return ParseDocument(std::move(text));
}

int CXmlParser::Parse(std::u16string_view text) { return ParseDocument(std::u16string(text)); }

void CXmlParser::Reset() {
  root_.Clear();
  current_ = &root_;
}

int CXmlParser::ParseDocument(std::u16string text) {
  Reset();
  document_ = std::move(text);
  ReplaceAll(document_, u'\n', u' ');
  ReplaceAll(document_, u'\r', u' ');
  ReplaceAll(document_, u'\t', u' ');

  // The tag being collected is always one run of the document: from its "<"
  // (or a stray ">") up to the current character. Character data is
  // collected apart, since a stray ">" outside a tag is not part of it.
  const std::u16string_view document(document_);
  size_t tagStart = 0;
  std::u16string characters;
  std::u16string inner;
  bool inTag = false;
  for (size_t i = 0; i < document.size(); ++i) {
    const char16_t c = document[i];
    if (c == u'<') {
      if (!inTag) tagStart = i;
      current_->text_ = Trim(characters);
      characters.clear();
      inTag = true;
    } else if (c == u'>') {
      if (!inTag) tagStart = i;
      const TagType kind = GetTagType(document.substr(tagStart, i + 1 - tagStart), inner);
      // A skipped tag ends the tag state too, so what follows a declaration
      // or comment is character data, not the start of the next tag.
      if (kind != TagType::Skip) ApplyTag(kind, inner);
      inTag = false;
    } else if (!inTag) {
      characters += c;
    }
  }
  return 1;
}

void CXmlParser::ApplyTag(TagType kind, std::u16string_view inner) {
  if (kind == TagType::Open || kind == TagType::Empty) {
    if (root_.name_.empty()) {
      SplitNameAndAttributes(Trim(inner), root_.name_, root_.attributes_);
    } else {
      auto element = std::make_unique<CXmlElement>();
      element->parent_ = current_;
      SplitNameAndAttributes(inner, element->name_, element->attributes_);
      CXmlElement* added = element.get();
      current_->children_.push_back(std::move(element));
      current_ = added;
    }
  }
  if ((kind == TagType::Close || kind == TagType::Empty) && current_->parent_ != nullptr) {
    current_ = current_->parent_;
  }
}

TagType CXmlParser::GetTagType(std::u16string_view tag, std::u16string& inner) {
  inner.clear();
  if (tag.empty()) return TagType::Skip;
  char16_t previous = u'0';
  TagType kind = TagType::Open;
  for (char16_t c : tag) {
    if (previous == u'<' && (c == u'!' || c == u'?')) return TagType::Skip;
    if (previous == u'<' && c == u'/') {
      kind = TagType::Close;
    } else if (previous == u'/' && c == u'>') {
      kind = TagType::Empty;
      if (!inner.empty()) inner.pop_back();
    } else if (c != u'<' && c != u'>') {
      inner += c;
    }
    previous = c;
  }
  return kind;
}

CXmlElement* CXmlParser::GetFirstChild(CXmlElement* element) {
  if (element == nullptr) return nullptr;
  if (element->children_.empty()) {
    element->cursor_ = CXmlElement::kNoCursor;
    return nullptr;
  }
  element->cursor_ = 0;
  return element->children_.front().get();
}

CXmlElement* CXmlParser::GetNextChild(CXmlElement* element) {
  if (element == nullptr || element->cursor_ == CXmlElement::kNoCursor) return nullptr;
  if (element->cursor_ + 1 >= element->children_.size()) {
    element->cursor_ = element->children_.size();
    return nullptr;
  }
  return element->children_[++element->cursor_].get();
}

}  // namespace tavrel::xml::legacy
