#include "platform/Codepage.h"

#include <windows.h>

#include <array>
#include <optional>

namespace tavrel::platform {

namespace {

// The lead bytes of a code page of characters of up to two bytes.
struct LeadBytes {
  std::array<bool, 256> lead{};
  bool any = false;

  explicit LeadBytes(UINT codePage) {
    CPINFO info{};
    if (!::GetCPInfo(codePage, &info) || info.MaxCharSize < 2) return;
    for (size_t i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i] != 0; i += 2) {
      for (unsigned b = info.LeadByte[i]; b <= info.LeadByte[i + 1]; ++b) lead[b] = true;
      any = true;
    }
  }
};

// UTF-8: the last character is told by its first byte.
size_t WholeUtf8(std::string_view bytes) {
  size_t start = bytes.size();
  while (start != 0 && bytes.size() - start < 3 &&
         (static_cast<unsigned char>(bytes[start - 1]) & 0xC0) == 0x80)
    --start;
  if (start == 0) return bytes.size();
  const auto first = static_cast<unsigned char>(bytes[start - 1]);
  const size_t length = first >= 0xF0 ? 4 : first >= 0xE0 ? 3 : first >= 0xC0 ? 2 : 1;
  return start - 1 + length > bytes.size() ? start - 1 : bytes.size();
}

}  // namespace

const std::array<char16_t, 256>* AnsiByteUnits() {
  static const std::optional<std::array<char16_t, 256>> units =
      []() -> std::optional<std::array<char16_t, 256>> {
    CPINFO info{};
    if (!::GetCPInfo(CP_ACP, &info) || info.MaxCharSize != 1) return std::nullopt;
    std::array<char16_t, 256> table{};
    for (unsigned b = 0; b < 256; ++b) {
      const char byte = static_cast<char>(b);
      wchar_t unit = 0;
      if (::MultiByteToWideChar(CP_ACP, 0, &byte, 1, &unit, 1) != 1) return std::nullopt;
      table[b] = static_cast<char16_t>(unit);
    }
    return table;
  }();
  return units ? &*units : nullptr;
}

size_t WholeCharacters(std::string_view bytes, unsigned codePage) {
  static const UINT ansi = ::GetACP();
  static const LeadBytes ansiLeads(ansi);
  if (codePage == 0) codePage = ansi;
  if (codePage == CP_UTF8) return WholeUtf8(bytes);
  std::optional<LeadBytes> other;
  const LeadBytes& leads = codePage == ansi ? ansiLeads : other.emplace(codePage);
  if (!leads.any) return bytes.size();
  // Where characters begin is known only from the front.
  size_t at = 0;
  while (at < bytes.size()) at += leads.lead[static_cast<unsigned char>(bytes[at])] ? 2 : 1;
  return at > bytes.size() ? bytes.size() - 1 : bytes.size();
}

std::u16string AnsiToUtf16(std::string_view bytes) {
  if (bytes.empty()) return {};
  const int size = static_cast<int>(bytes.size());
  const int n = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
  if (n <= 0) return {};
  std::u16string out(static_cast<size_t>(n), u'\0');
  ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, reinterpret_cast<wchar_t*>(out.data()), n);
  return out;
}

std::string Utf16ToAnsi(std::u16string_view text) {
  if (text.empty()) return {};
  const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
  const int size = static_cast<int>(text.size());
  const int n = ::WideCharToMultiByte(CP_ACP, 0, wide, size, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return {};
  std::string out(static_cast<size_t>(n), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, wide, size, out.data(), n, nullptr, nullptr);
  return out;
}

}  // namespace tavrel::platform
