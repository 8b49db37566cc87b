#include "xml/NameIndex.h"

namespace tavrel::xml {

uint64_t FoldedNameHash(std::u16string_view name) {
  constexpr uint64_t kOffset = 14695981039346656037ULL;
  constexpr uint64_t kPrime = 1099511628211ULL;
  uint64_t hash = kOffset;
  for (char16_t c : name) {
    const char16_t folded = c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + (u'a' - u'A')) : c;
    hash = (hash ^ folded) * kPrime;
  }
  return hash;
}

}  // namespace tavrel::xml
