// The lenient tag scanner: it reads UTF-16 text in pieces, each unit once, and hands every tag to a
// consumer (the element tree, or the profile's builder). It never reports malformed markup: end tags
// end the current element whatever their name, unclosed elements stay open, a stray ">" reads as a
// start tag without a name, and declarations, processing instructions and comments are skipped (the
// text after them is text again). Line feeds, returns and tabs read as spaces.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory_resource>
#include <string>
#include <string_view>

#include "xml/ProfileMarkup.h"
#include "xml/XmlText.h"

namespace tavrel::xml {

enum class TagType : int32_t { Skip = -1, Open = 0, Close = 1, Empty = 2 };

// The current line as the scan goes, and the index of its first unit.
struct LineCount {
  uint32_t line = 1;
  uint64_t lineStart = 0;
};

// The first "<" or ">" in [at, end), or `end`. Line feeds, returns and tabs
// before it become spaces, line feeds counted (`first` has index `firstIndex`).
char16_t* FindTagMark(char16_t* at, char16_t* end, const char16_t* first, uint64_t firstIndex,
                      LineCount& lines);

// Classifies tag text such as `<a b="c"/>`; `inner` gets the text between
// the markup characters ("/" of end and empty tags dropped).
TagType GetTagType(std::u16string_view tag, std::u16string& inner);

// A consumer has:
//   static constexpr bool kWantsText;
//   void Text(std::u16string_view trimmed, bool transient);   // kWantsText only
//   bool Root(std::u16string_view name, std::u16string_view attributes, bool transient);
//   bool Element(size_t depth, std::u16string_view name, std::u16string_view attributes,
//                const TextPlace& tag, std::pmr::u16string* carried);
//   void Close();
// Root names the document's element; Element opens one below it (depth 1: a
// child of the root), Close ends the current one (never the root). Texts are
// views, gone after the call when `transient` or `carried` (the scanner's copy
// of the tag, from `pool`: Element may take it). False from Root or Element stops.
template <class Consumer>
class TagScanner {
 public:
  TagScanner(Consumer& consumer, std::pmr::memory_resource* pool) : consumer_(consumer), tagCarry_(pool) {}

  // Scans the next piece of the text, whose line feeds, returns and tabs
  // become spaces in place. False once the consumer has stopped the scan.
  bool Feed(char16_t* first, char16_t* last);
  // The most units the whole text can have, when known: a tag carried over
  // more than two pieces then grows once, to the most it can take.
  void Expect(uint64_t units) { expected_ = units; }

  // After the last piece: whether the text ended inside a tag or before the
  // first element's end tag, as a file cut short does.
  bool EndedEarly() const { return rootNamed_ && (inTag_ || depth_ != 0 || !rootClosed_); }
  // Where an early end is told: the tag of a section never closed by its own
  // end tag, unless the text ended inside a tag; else the end of the text.
  TextPlace EndPlace() const {
    if (!inTag_ && depth_ != 0 && sectionOpen_) return sectionTag_;
    if (!inTag_ && unclosedSection_.line != 0) return unclosedSection_;
    return PlaceOf(index_);
  }

 private:
  TextPlace PlaceOf(uint64_t unit) const {
    return {unit, lines_.line, static_cast<uint32_t>(unit - lines_.lineStart + 1)};
  }
  void TextBefore(const char16_t* run, const char16_t* mark);
  void ReadTag(std::u16string_view tag, std::pmr::u16string* carried);
  void Apply(TagType kind, std::u16string_view inner, std::pmr::u16string* carried);

  Consumer& consumer_;
  LineCount lines_;
  uint64_t index_ = 0;  // of the next piece's first unit
  uint64_t expected_ = 0;
  bool stopped_ = false;
  bool inTag_ = false;
  bool nested_ = false;           // a further "<" stands in the tag
  TextPlace tag_;                 // of the tag's "<" (or a stray ">")
  std::pmr::u16string tagCarry_;  // the tag so far, when it began in an earlier piece
  std::u16string textCarry_;      // the character data so far, when it is not one run
  bool rootNamed_ = false;
  bool rootClosed_ = false;
  size_t depth_ = 0;          // of the current element; the root's is 0
  bool sectionOpen_ = false;  // the current child of the root is a section
  TextPlace sectionTag_;
  TextPlace unclosedSection_;  // the first section ended by another end tag
};

template <class Consumer>
bool TagScanner<Consumer>::Feed(char16_t* first, char16_t* last) {
  if (stopped_) return false;
  char16_t* run = first;  // where the pending tag or character data begins in this piece
  for (char16_t* at = first;; ++at) {
    at = FindTagMark(at, last, first, index_, lines_);
    if (at == last) break;
    const TextPlace here = PlaceOf(index_ + static_cast<uint64_t>(at - first));
    if (!inTag_ && *at == u'<') {
      TextBefore(run, at);
      inTag_ = true;
      nested_ = false;
      tag_ = here;
      run = at;
    } else if (!inTag_) {
      if constexpr (Consumer::kWantsText) textCarry_.append(run, at);
      tag_ = here;
      Apply(TagType::Open, {}, nullptr);
      run = at + 1;
    } else if (*at == u'<') {
      // The tag goes on to the next ">"; no character data follows the first "<".
      if constexpr (Consumer::kWantsText) consumer_.Text({}, false);
      nested_ = true;
    } else {
      inTag_ = false;
      if (tagCarry_.empty()) {
        ReadTag({run, static_cast<size_t>(at + 1 - run)}, nullptr);
      } else {
        tagCarry_.append(run, at + 1);
        ReadTag(tagCarry_, &tagCarry_);
        tagCarry_.clear();
      }
      run = at + 1;
    }
    if (stopped_) return false;
  }
  if (inTag_) {
    if (!tagCarry_.empty() && expected_ > tag_.unit) tagCarry_.reserve(expected_ - tag_.unit);
    tagCarry_.append(run, last);
  } else if constexpr (Consumer::kWantsText) {
    textCarry_.append(run, last);
  }
  index_ += static_cast<uint64_t>(last - first);
  return true;
}

template <class Consumer>
void TagScanner<Consumer>::TextBefore(const char16_t* run, const char16_t* mark) {
  if constexpr (Consumer::kWantsText) {
    if (textCarry_.empty()) {
      consumer_.Text(TrimView({run, static_cast<size_t>(mark - run)}), false);
    } else {
      textCarry_.append(run, mark);
      consumer_.Text(TrimView(textCarry_), true);
      textCarry_.clear();
    }
  }
}

template <class Consumer>
void TagScanner<Consumer>::ReadTag(std::u16string_view tag, std::pmr::u16string* carried) {
  if (nested_) {
    std::u16string inner;
    const TagType kind = GetTagType(tag, inner);
    std::pmr::u16string kept(inner);
    if (kind != TagType::Skip) Apply(kind, kept, &kept);
    return;
  }
  // One "<" in front, one ">" at the end: GetTagType reads the second and second to last unit.
  if (tag[1] == u'!' || tag[1] == u'?') return;
  const size_t start = tag[1] == u'/' ? 2 : 1;
  const bool empty = tag.size() >= 3 && tag[tag.size() - 2] == u'/';
  const size_t end = std::max(start, tag.size() - (empty ? 2 : 1));
  const TagType kind = empty ? TagType::Empty : start == 2 ? TagType::Close : TagType::Open;
  Apply(kind, tag.substr(start, end - start), carried);
}

template <class Consumer>
void TagScanner<Consumer>::Apply(TagType kind, std::u16string_view inner, std::pmr::u16string* carried) {
  // The root's tag is trimmed before it is split; below the root the name
  // is what precedes the first space, untrimmed.
  if (kind == TagType::Open || kind == TagType::Empty) {
    const std::u16string_view tag = rootNamed_ ? inner : TrimView(inner);
    const size_t space = FindUnit(tag, u' ');
    const std::u16string_view name = tag.substr(0, space);
    const std::u16string_view attributes =
        space == std::u16string_view::npos ? std::u16string_view() : TrimView(tag.substr(space + 1));
    if (!rootNamed_) {
      rootNamed_ = !name.empty();
      if (rootNamed_) stopped_ = !consumer_.Root(name, attributes, carried != nullptr);
    } else {
      if (++depth_ == 1) {
        sectionOpen_ = name == markup::kSection;
        sectionTag_ = tag_;
      }
      stopped_ = !consumer_.Element(depth_, name, attributes, tag_, carried);
    }
  }
  if (kind == TagType::Close || kind == TagType::Empty) {
    if (depth_ != 0) {
      if (depth_ == 1 && sectionOpen_ && kind == TagType::Close && unclosedSection_.line == 0 &&
          inner.substr(0, inner.find(u' ')) != markup::kSection) {
        unclosedSection_ = sectionTag_;
      }
      if (depth_-- == 1) sectionOpen_ = false;
      consumer_.Close();
    } else if (rootNamed_) {
      rootClosed_ = true;
    }
  }
}

}  // namespace tavrel::xml
