// Searching UTF-16 text for markup characters several units at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tavrel::xml {

// The first "<" or ">" in [first, last), or `last` when there is none.
const char16_t* FindTagMark(const char16_t* first, const char16_t* last);

// The first zero unit in [first, last), or `last` when there is none.
const char16_t* FindZeroUnit(const char16_t* first, const char16_t* last);

// Copies `count` units from `in` to `out` (which may be the same place) with
// every line feed, carriage return and tab replaced by a space. The places of
// the line feeds are appended to `lineFeeds` when it is given.
void CopyBlankingLineBreaks(const char16_t* in, size_t count, char16_t* out,
                            std::vector<uint32_t>* lineFeeds = nullptr);

}  // namespace tavrel::xml
