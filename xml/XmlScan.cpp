#include "xml/XmlScan.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace tavrel::xml {

namespace {

// Four UTF-16 units are read as one 64-bit word, the first unit in the low
// bits.
static_assert(std::endian::native == std::endian::little);

constexpr uint64_t kLaneOnes = 0x0001000100010001ULL;
constexpr uint64_t kLaneHighBits = 0x8000800080008000ULL;
constexpr size_t kUnitsPerWord = 4;
constexpr int kBitsPerUnit = 16;

// The high bit of every zero unit of `word` is set. A unit above a zero unit
// may be flagged too, by the borrow, so only the lowest flag is exact.
uint64_t ZeroUnits(uint64_t word) { return (word - kLaneOnes) & ~word & kLaneHighBits; }

// The high bit of exactly the zero units of `word`.
uint64_t ExactZeroUnits(uint64_t word) {
  constexpr uint64_t kLowBits = ~kLaneHighBits;
  return ~(((word & kLowBits) + kLowBits) | word) & kLaneHighBits;
}

uint64_t Load(const char16_t* at) {
  uint64_t word = 0;
  std::memcpy(&word, at, sizeof word);
  return word;
}

}  // namespace

const char16_t* FindTagMark(const char16_t* first, const char16_t* last) {
  constexpr uint64_t kOpen = kLaneOnes * u'<';
  constexpr uint64_t kClose = kLaneOnes * u'>';
  while (static_cast<size_t>(last - first) >= 2 * kUnitsPerWord) {
    const uint64_t low = Load(first);
    const uint64_t high = Load(first + kUnitsPerWord);
    const uint64_t lowHits = ZeroUnits(low ^ kOpen) | ZeroUnits(low ^ kClose);
    if (lowHits != 0) return first + std::countr_zero(lowHits) / kBitsPerUnit;
    const uint64_t highHits = ZeroUnits(high ^ kOpen) | ZeroUnits(high ^ kClose);
    if (highHits != 0) return first + kUnitsPerWord + std::countr_zero(highHits) / kBitsPerUnit;
    first += 2 * kUnitsPerWord;
  }
  while (first != last && *first != u'<' && *first != u'>') ++first;
  return first;
}

const char16_t* FindZeroUnit(const char16_t* first, const char16_t* last) {
  while (static_cast<size_t>(last - first) >= kUnitsPerWord) {
    const uint64_t hits = ZeroUnits(Load(first));
    if (hits != 0) return first + std::countr_zero(hits) / kBitsPerUnit;
    first += kUnitsPerWord;
  }
  while (first != last && *first != 0) ++first;
  return first;
}

void CopyBlankingLineBreaks(const char16_t* in, size_t count, char16_t* out,
                            std::vector<uint32_t>* lineFeeds) {
  constexpr uint64_t kLineFeed = kLaneOnes * u'\n';
  constexpr uint64_t kReturn = kLaneOnes * u'\r';
  constexpr uint64_t kTab = kLaneOnes * u'\t';
  constexpr uint64_t kSpace = kLaneOnes * u' ';
  constexpr uint64_t kUnitMask = 0xFFFF;
  size_t i = 0;
  for (; i + kUnitsPerWord <= count; i += kUnitsPerWord) {
    uint64_t word = Load(in + i);
    const uint64_t hits =
        ExactZeroUnits(word ^ kLineFeed) | ExactZeroUnits(word ^ kReturn) | ExactZeroUnits(word ^ kTab);
    if (hits != 0) {
      if (lineFeeds != nullptr) {
        for (uint64_t feeds = ExactZeroUnits(word ^ kLineFeed); feeds != 0; feeds &= feeds - 1) {
          lineFeeds->push_back(static_cast<uint32_t>(i + std::countr_zero(feeds) / kBitsPerUnit));
        }
      }
      const uint64_t lanes = (hits >> (kBitsPerUnit - 1)) * kUnitMask;
      word = (word & ~lanes) | (kSpace & lanes);
    }
    std::memcpy(out + i, &word, sizeof word);
  }
  for (; i < count; ++i) {
    const char16_t c = in[i];
    if (c == u'\n' && lineFeeds != nullptr) lineFeeds->push_back(static_cast<uint32_t>(i));
    out[i] = c == u'\n' || c == u'\r' || c == u'\t' ? u' ' : c;
  }
}

}  // namespace tavrel::xml
