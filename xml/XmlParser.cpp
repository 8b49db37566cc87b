#include "xml/XmlParser.h"

#include <algorithm>
#include <functional>

#include "platform/Codepage.h"
#include "xml/XmlFileText.h"
#include "xml/XmlScan.h"
#include "xml/XmlText.h"

namespace tavrel::xml {

namespace {

std::u16string_view TrimView(std::u16string_view text) { return TrimRight(TrimLeft(text)); }

std::u16string_view Run(const char16_t* first, const char16_t* last) {
  return {first, static_cast<size_t>(last - first)};
}

// Splits `inner` at its first space into a name and the trimmed rest.
void SplitNameAndAttributes(std::u16string_view inner, std::u16string_view& name,
                            std::u16string_view& attributes) {
  const size_t space = inner.find(u' ');
  if (space == std::u16string_view::npos) {
    name = inner;
    attributes = {};
  } else {
    name = inner.substr(0, space);
    attributes = TrimView(inner.substr(space + 1));
  }
}

}  // namespace

int CXmlParser::LoadFile(std::u16string_view fileName, ProfileEncoding mode) {
  return LoadFileWithResult(fileName, mode) ? 1 : 0;
}

ProfileResult CXmlParser::LoadFileWithResult(std::u16string_view fileName, ProfileEncoding mode) {
  FileText read = ReadProfileFile(fileName, mode);
  if (read.text.empty()) return read.result;
  ParseDocument(std::move(read.text));
  fileUtf16_ = read.utf16;
  fileMark_ = read.mark;
  ProfileResult result;
  if (EndedEarly()) {
    result.status = ProfileStatus::CutShort;
    SetPlace(document_.data() + document_.size(), result);
  }
  return result;
}

bool CXmlParser::EndedEarly() const {
  return !root_.name_.empty() && (tagOpenAtEnd_ || current_ != &root_ || !rootClosed_);
}

const char16_t* CXmlParser::TagStart(const CXmlElement& element) const {
  const char16_t* const first = document_.data();
  const char16_t* at = element.name_.data();
  const std::less_equal<const char16_t*> notAfter;
  if (element.parent_ == nullptr || !notAfter(first, at) || !notAfter(at, first + document_.size()))
    return nullptr;
  while (at != first && *at != u'<') --at;
  return *at == u'<' ? at : nullptr;
}

void CXmlParser::SetPlace(const char16_t* at, ProfileResult& result) const {
  const auto position = static_cast<uint32_t>(at - document_.data());
  const auto feed = std::lower_bound(lineFeeds_.begin(), lineFeeds_.end(), position);
  const uint32_t lineStart = feed == lineFeeds_.begin() ? 0 : *(feed - 1) + 1;
  result.line = static_cast<uint32_t>(feed - lineFeeds_.begin()) + 1;
  result.column = position - lineStart + 1;
  const uint64_t mark = fileMark_ ? 2 : 0;
  if (fileUtf16_) {
    result.offset = mark + 2 * static_cast<uint64_t>(position);
  } else {
    result.offset = mark + platform::Utf16ToAnsi(std::u16string_view(document_.data(), position)).size();
  }
}

int CXmlParser::Parse(std::u16string_view text) {
  // A view into the current document is copied before the buffer is reused.
  const std::less_equal<const char16_t*> notAfter;
  if (notAfter(document_.data(), text.data()) && notAfter(text.data(), document_.data() + document_.size())) {
    return ParseDocument(std::u16string(text));
  }
  Reset();
  document_.resize(text.size());
  CopyBlankingLineBreaks(text.data(), text.size(), document_.data(), &lineFeeds_);
  return ParseCurrentDocument();
}

void CXmlParser::Reset() {
  root_.Clear();
  arena_.Clear();
  current_ = &root_;
  lineFeeds_.clear();
  fileUtf16_ = true;
  fileMark_ = false;
  rootClosed_ = false;
  tagOpenAtEnd_ = false;
}

int CXmlParser::ParseDocument(std::u16string text) {
  Reset();
  document_ = std::move(text);
  CopyBlankingLineBreaks(document_.data(), document_.size(), document_.data(), &lineFeeds_);
  return ParseCurrentDocument();
}

int CXmlParser::ParseCurrentDocument() {
  Scan();
  arena_.LinkChildren(root_);
  return 1;
}

void CXmlParser::Scan() {
  // Character data is the run since the last "<"; a stray ">" outside a tag
  // is not part of it, so around one the runs are collected in `pending`.
  const char16_t* const end = document_.data() + document_.size();
  const char16_t* runStart = document_.data();
  const char16_t* tagStart = nullptr;  // the "<" of the tag being read
  bool nested = false;
  std::u16string pending;
  for (const char16_t* at = runStart;; ++at) {
    at = FindTagMark(at, end);
    if (at == end) {
      tagOpenAtEnd_ = tagStart != nullptr;
      return;
    }
    if (tagStart == nullptr && *at == u'<') {
      if (pending.empty()) {
        current_->text_ = TrimView(Run(runStart, at));
      } else {
        pending.append(runStart, at);
        const std::u16string_view text = TrimView(pending);
        current_->text_ = text.empty() ? std::u16string_view() : arena_.Keep(std::u16string(text));
        pending.clear();
      }
      tagStart = at;
      nested = false;
    } else if (tagStart == nullptr) {
      // A stray ">" reads as a start tag without a name.
      pending.append(runStart, at);
      ApplyTag(TagType::Open, {});
      runStart = at + 1;
    } else if (*at == u'<') {
      // The tag goes on to the next ">"; the character data is what
      // followed the first "<": nothing.
      current_->text_ = {};
      nested = true;
    } else {
      ReadTag(tagStart, at + 1, nested);
      tagStart = nullptr;
      runStart = at + 1;
    }
  }
}

void CXmlParser::ReadTag(const char16_t* first, const char16_t* last, bool nested) {
  if (nested) {
    std::u16string inner;
    const TagType kind = GetTagType(Run(first, last), inner);
    if (kind != TagType::Skip) ApplyTag(kind, arena_.Keep(std::move(inner)));
    return;
  }
  // With one "<" in front and one ">" at the end, GetTagType comes down to
  // looking at the second and the second to last character.
  const size_t size = static_cast<size_t>(last - first);
  const char16_t second = first[1];
  if (second == u'!' || second == u'?') return;
  TagType kind = TagType::Open;
  size_t innerStart = 1;
  size_t innerEnd = size - 1;
  if (second == u'/') {
    kind = TagType::Close;
    innerStart = 2;
  }
  if (size >= 3 && first[size - 2] == u'/') {
    kind = TagType::Empty;
    innerEnd = size - 2 >= innerStart ? size - 2 : innerStart;
  }
  ApplyTag(kind, Run(first + innerStart, first + innerEnd));
}

void CXmlParser::ApplyTag(TagType kind, std::u16string_view inner) {
  if (kind == TagType::Open || kind == TagType::Empty) {
    if (root_.name_.empty()) {
      SplitNameAndAttributes(TrimView(inner), root_.name_, root_.attributes_);
    } else {
      CXmlElement* element = arena_.NewElement();
      element->parent_ = current_;
      SplitNameAndAttributes(inner, element->name_, element->attributes_);
      ++current_->childCount_;
      current_ = element;
    }
  }
  if (kind == TagType::Close || kind == TagType::Empty) {
    if (current_->parent_ != nullptr) {
      current_ = current_->parent_;
    } else if (!root_.name_.empty()) {
      rootClosed_ = true;
    }
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
  if (element->childCount_ == 0) {
    element->cursor_ = CXmlElement::kNoCursor;
    return nullptr;
  }
  element->cursor_ = 0;
  return element->children_[0];
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
