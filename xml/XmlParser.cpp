#include "xml/XmlParser.h"

namespace tavrel::xml {

ProfileResult CXmlParser::LoadFileWithResult(std::u16string_view fileName, ProfileEncoding mode,
                                             size_t pieceBytes) {
  std::u16string text;
  ProfileFileReader reader;
  ProfileResult result = reader.Read(
      fileName, mode,
      [&text](char16_t* first, char16_t* last) {
        text.append(first, last);
        return true;
      },
      pieceBytes);
  if (!result || result.status == ProfileStatus::EmptyFile) return result;
  ParseDocument(std::move(text));
  if (endedEarly_) {
    result.status = ProfileStatus::CutShort;
    reader.SetPlace(endPlace_, result);
  }
  return result;
}

int CXmlParser::Parse(std::u16string_view text) {
  // Copied first: the text may be a view into the current document.
  return ParseDocument(std::u16string(text));
}

void CXmlParser::Reset() {
  root_.Clear();
  arena_.Clear();
  current_ = &root_;
  endedEarly_ = false;
  endPlace_ = {};
}

int CXmlParser::ParseDocument(std::u16string text) {
  Reset();
  document_ = std::move(text);
  TagScanner<CXmlParser> scanner(*this, std::pmr::get_default_resource());
  scanner.Feed(document_.data(), document_.data() + document_.size());
  endedEarly_ = scanner.EndedEarly();
  endPlace_ = scanner.EndPlace();
  arena_.LinkChildren(root_);
  return 1;
}

std::u16string_view CXmlParser::Keep(std::u16string_view text, bool transient) {
  if (text.empty()) return {};
  return transient ? arena_.Keep(std::u16string(text)) : text;
}

void CXmlParser::Text(std::u16string_view text, bool transient) { current_->text_ = Keep(text, transient); }

bool CXmlParser::Root(std::u16string_view name, std::u16string_view attributes, bool transient) {
  root_.name_ = Keep(name, transient);
  root_.attributes_ = Keep(attributes, transient);
  return true;
}

bool CXmlParser::Element(size_t /*depth*/, std::u16string_view name, std::u16string_view attributes,
                         const TextPlace& tag, std::pmr::u16string* carried) {
  CXmlElement* element = arena_.NewElement();
  element->parent_ = current_;
  element->name_ = Keep(name, carried != nullptr);
  element->attributes_ = Keep(attributes, carried != nullptr);
  element->place_ = tag;
  ++current_->childCount_;
  current_ = element;
  return true;
}

void CXmlParser::Close() { current_ = current_->parent_; }

CXmlElement* CXmlParser::GetFirstChild(CXmlElement* element) {
  if (element == nullptr) return nullptr;
  element->cursor_ = element->childCount_ == 0 ? CXmlElement::kNoCursor : 0;
  return element->childCount_ == 0 ? nullptr : element->children_[0];
}

CXmlElement* CXmlParser::GetNextChild(CXmlElement* element) {
  if (element == nullptr || element->cursor_ == CXmlElement::kNoCursor) return nullptr;
  if (element->cursor_ + 1 >= element->childCount_) {
    element->cursor_ = element->childCount_;
    return nullptr;
  }
  return element->children_[++element->cursor_];
}

}  // namespace tavrel::xml
