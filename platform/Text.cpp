#include "platform/Text.h"

#include <array>
#include <climits>

namespace tavrel::text {

namespace {

// First code unit of each block of ten decimal digits that the Windows
// runtime's digit test accepts.
constexpr std::array<char16_t, 18> kDigitZeros = {0x0030, 0x0660, 0x06F0, 0x0966, 0x09E6, 0x0A66,
                                                  0x0AE6, 0x0B66, 0x0C66, 0x0CE6, 0x0D66, 0x0E50,
                                                  0x0ED0, 0x0F20, 0x1040, 0x17E0, 0x1810, 0xFF10};

constexpr char16_t kReplacement = 0xFFFD;

char16_t FoldAscii(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + (u'a' - u'A')) : c;
}

}  // namespace

bool IsSpace(char16_t c) {
  if ((c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0xA0 || c == 0x1680) return true;
  if (c >= 0x2000 && c <= 0x200A) return true;
  return c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x3000;
}

int DigitValue(char16_t c) {
  for (char16_t zero : kDigitZeros) {
    if (c >= zero && c < zero + 10) return c - zero;
  }
  return -1;
}

int32_t ParseInt(std::u16string_view s) {
  size_t i = 0;
  while (i < s.size() && IsSpace(s[i])) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) {
    negative = s[i] == u'-';
    ++i;
  }
  // Digits beyond the range no longer change the result, so the sum is capped
  // just past INT32_MAX + 1 instead of being allowed to overflow.
  constexpr uint64_t kCap = uint64_t{1} << 32;
  uint64_t magnitude = 0;
  for (; i < s.size(); ++i) {
    const int digit = DigitValue(s[i]);
    if (digit < 0) break;
    magnitude = magnitude * 10 + static_cast<uint64_t>(digit);
    if (magnitude > kCap) magnitude = kCap;
  }
  if (negative) {
    return magnitude >= uint64_t{0x80000000} ? INT32_MIN : -static_cast<int32_t>(magnitude);
  }
  return magnitude > uint64_t{INT32_MAX} ? INT32_MAX : static_cast<int32_t>(magnitude);
}

int CompareNoCase(std::u16string_view a, std::u16string_view b) {
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    const int diff = static_cast<int>(FoldAscii(a[i])) - static_cast<int>(FoldAscii(b[i]));
    if (diff != 0) return diff;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -static_cast<int>(FoldAscii(b[n])) : static_cast<int>(FoldAscii(a[n]));
}

std::u16string FormatInt(int32_t value) {
  std::u16string digits;
  int64_t v = value;
  const bool negative = v < 0;
  if (negative) v = -v;
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + v % 10));
    v /= 10;
  } while (v != 0);
  if (negative) digits.insert(digits.begin(), u'-');
  return digits;
}

std::u16string FromAscii(std::string_view ascii) {
  std::u16string out;
  out.reserve(ascii.size());
  for (char c : ascii) out.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
  return out;
}

std::string ToUtf8(std::u16string_view s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    uint32_t cp = s[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = kReplacement;
    }
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

std::u16string FromUtf8(std::string_view s) {
  std::u16string out;
  out.reserve(s.size());
  size_t i = 0;
  while (i < s.size()) {
    const auto lead = static_cast<unsigned char>(s[i]);
    if (lead < 0x80) {
      out.push_back(lead);
      ++i;
      continue;
    }
    // The well-formed sequences: the lead byte gives the length, and for
    // E0, ED, F0 and F4 a narrower range of the second byte keeps out
    // overlong forms, surrogates and values past U+10FFFF.
    size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    }
    if (length == 0) {
      out.push_back(kReplacement);
      ++i;
      continue;
    }
    uint32_t cp = lead & (0x7Fu >> length);
    size_t taken = 1;
    for (; taken < length && i + taken < s.size(); ++taken) {
      const auto next = static_cast<unsigned char>(s[i + taken]);
      if (next < (taken == 1 ? low : 0x80) || next > (taken == 1 ? high : 0xBF)) break;
      cp = (cp << 6) | (next & 0x3Fu);
    }
    i += taken;
    if (taken < length) {
      // One replacement for the longest start of a sequence that was sound.
      out.push_back(kReplacement);
    } else if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
  }
  return out;
}

}  // namespace tavrel::text
