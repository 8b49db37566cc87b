// Text helpers whose C runtime versions differ between Windows and Linux.
// Each is written once, with the behaviour of the Windows runtime, so both
// builds read and write settings identically. Pure functions, no OS calls.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tavrel::text {

// iswspace of the Windows runtime: the C1_SPACE characters of UTF-16.
bool IsSpace(char16_t c);

// The decimal value of a digit character as the Windows runtime sees it
// (ASCII and the other Unicode decimal digit blocks), or -1.
int DigitValue(char16_t c);

// _wtoi: leading white space skipped, one optional sign, digits up to the
// first other character; no digits give 0; overflow saturates at
// INT32_MAX / INT32_MIN.
int32_t ParseInt(std::u16string_view s);

// _wcsicmp in the "C" locale: ASCII letters fold to lower case; the result is
// the difference of the first differing folded units (0 when equal).
int CompareNoCase(std::u16string_view a, std::u16string_view b);
inline bool EqualsNoCase(std::u16string_view a, std::u16string_view b) { return CompareNoCase(a, b) == 0; }

// _itow(value, buffer, 10): decimal, with a minus sign for negative values.
std::u16string FormatInt(int32_t value);

// Widens ASCII text unit by unit (for literals and numbers only).
std::u16string FromAscii(std::string_view ascii);

// UTF-8 <-> UTF-16 for tools, logs and the native registry file, never for
// the profile files' code page. Lossless for well-formed text; an unpaired
// surrogate becomes U+FFFD, and so does each maximal part of ill-formed
// UTF-8 (overlong forms, encoded surrogates, values past U+10FFFF, stray or
// missing continuation bytes), one U+FFFD per part.
std::string ToUtf8(std::u16string_view s);
std::u16string FromUtf8(std::string_view s);

}  // namespace tavrel::text
