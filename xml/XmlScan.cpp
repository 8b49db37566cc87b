#include "xml/XmlScan.h"

#if defined(__i386__) || defined(__x86_64__)
#include <emmintrin.h>
#define TAVREL_SCAN_SSE2 1
// The 32-bit build is not compiled for SSE2 as a whole, so these functions
// alone are, and run where the processor has it.
#ifdef __SSE2__
#define TAVREL_SSE2_FUNCTION
#else
#define TAVREL_SSE2_FUNCTION __attribute__((target("sse2")))
#endif
#endif

namespace tavrel::xml {

namespace {

// A line feed, return or tab before a mark becomes a space.
inline void Blank(char16_t* at, const char16_t* first, uint64_t firstIndex, LineCount& lines) {
  if (*at == u'\n') {
    ++lines.line;
    lines.lineStart = firstIndex + static_cast<uint64_t>(at + 1 - first);
  }
  *at = u' ';
}

unsigned WidenPortable(const unsigned char* in, size_t count, char16_t* out, const char16_t* high) {
  unsigned seen = 0;
  for (size_t i = 0; i < count; ++i) {
    seen |= in[i] >> 7;
    out[i] = high != nullptr && in[i] >= 0x80 ? high[in[i] - 0x80] : in[i];
  }
  return seen;
}

char16_t* FindTagMarkPortable(char16_t* at, char16_t* end, const char16_t* first, uint64_t firstIndex,
                              LineCount& lines) {
  for (; at != end; ++at) {
    const char16_t c = *at;
    if (c > u'>') continue;
    if (c == u'<' || c == u'>') return at;
    if (c == u'\n' || c == u'\r' || c == u'\t') Blank(at, first, firstIndex, lines);
  }
  return end;
}

#ifdef TAVREL_SCAN_SSE2
// Eight units at a time.
TAVREL_SSE2_FUNCTION char16_t* FindTagMarkSse2(char16_t* at, char16_t* end, const char16_t* first,
                                               uint64_t firstIndex, LineCount& lines) {
  constexpr int kUnits = 8;
  // "<" and ">" are the units u with u | 2 == ">"; tab and return those
  // with u | 4 == return.
  const __m128i markBit = _mm_set1_epi16(2);
  const __m128i mark = _mm_set1_epi16(u'>');
  const __m128i blankBit = _mm_set1_epi16(4);
  const __m128i ret = _mm_set1_epi16(u'\r');
  const __m128i feed = _mm_set1_epi16(u'\n');
  while (end - at >= kUnits) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    const auto marks =
        static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_or_si128(v, markBit), mark)));
    const __m128i blanks =
        _mm_or_si128(_mm_cmpeq_epi16(_mm_or_si128(v, blankBit), ret), _mm_cmpeq_epi16(v, feed));
    // One bit per unit (the low one of its two bytes), only before the first mark.
    unsigned pending = static_cast<unsigned>(_mm_movemask_epi8(blanks)) & 0x5555U;
    if (marks != 0) pending &= (marks & (0U - marks)) - 1;
    for (; pending != 0; pending &= pending - 1) {
      Blank(at + __builtin_ctz(pending) / 2, first, firstIndex, lines);
    }
    if (marks != 0) return at + __builtin_ctz(marks) / 2;
    at += kUnits;
  }
  return FindTagMarkPortable(at, end, first, firstIndex, lines);
}

TAVREL_SSE2_FUNCTION const char16_t* FindUnitSse2(const char16_t* first, const char16_t* last,
                                                  char16_t unit) {
  const __m128i sought = _mm_set1_epi16(static_cast<short>(unit));
  for (; last - first >= 8; first += 8) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(first));
    const auto hits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(v, sought)));
    if (hits != 0) return first + __builtin_ctz(hits) / 2;
  }
  while (first != last && *first != unit) ++first;
  return first;
}

TAVREL_SSE2_FUNCTION size_t WidenSse2(const unsigned char* in, size_t count, char16_t* out,
                                      const char16_t* high) {
  size_t seen = 0;
  size_t i = 0;
  const __m128i zero = _mm_setzero_si128();
  for (; count - i >= 16; i += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_unpacklo_epi8(v, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i + 8), _mm_unpackhi_epi8(v, zero));
    auto bits = static_cast<unsigned>(_mm_movemask_epi8(v));
    seen |= bits;
    if (high == nullptr) continue;
    for (; bits != 0; bits &= bits - 1) {
      const size_t at = i + static_cast<size_t>(__builtin_ctz(bits));
      out[at] = high[in[at] - 0x80];
    }
  }
  return seen | WidenPortable(in + i, count - i, out + i, high);
}

bool HasSse2() {
#ifdef __SSE2__
  return true;
#else
  static const bool has = __builtin_cpu_supports("sse2");
  return has;
#endif
}
#endif

}  // namespace

char16_t* FindTagMark(char16_t* at, char16_t* end, const char16_t* first, uint64_t firstIndex,
                      LineCount& lines) {
#ifdef TAVREL_SCAN_SSE2
  if (HasSse2()) return FindTagMarkSse2(at, end, first, firstIndex, lines);
#endif
  return FindTagMarkPortable(at, end, first, firstIndex, lines);
}

const char16_t* FindUnit(const char16_t* first, const char16_t* last, char16_t unit) {
#ifdef TAVREL_SCAN_SSE2
  if (HasSse2()) return FindUnitSse2(first, last, unit);
#endif
  while (first != last && *first != unit) ++first;
  return first;
}

bool WidenBytes(const unsigned char* in, size_t count, char16_t* out, const char16_t* high) {
#ifdef TAVREL_SCAN_SSE2
  if (HasSse2()) return WidenSse2(in, count, out, high) != 0;
#endif
  return WidenPortable(in, count, out, high) != 0;
}

size_t FindUnit(std::u16string_view text, char16_t unit, size_t from) {
  if (from >= text.size()) return std::u16string_view::npos;
  const char16_t* found = FindUnit(text.data() + from, text.data() + text.size(), unit);
  return found == text.data() + text.size() ? std::u16string_view::npos
                                            : static_cast<size_t>(found - text.data());
}

TagType GetTagType(std::u16string_view tag, std::u16string& inner) {
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

}  // namespace tavrel::xml
