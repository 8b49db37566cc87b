#include "tests/xml/legacy/LegacyParser.h"

#include <cstdint>
#include <vector>

#include "platform/Codepage.h"
#include "platform/File.h"

namespace tavrel::xml::legacy {

namespace {

// Zero bytes behind the data end the text in either encoding.
constexpr uint32_t kZeroPadding = 100;

std::u16string DecodeUtf16(const std::vector<unsigned char>& bytes, size_t offset) {
  std::u16string text;
  for (size_t i = offset; i + 1 < bytes.size(); i += 2) {
    const auto unit = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
    if (unit == 0) break;
    text += unit;
  }
  return text;
}

std::u16string DecodeAnsi(const std::vector<unsigned char>& bytes, size_t offset) {
  size_t end = offset;
  while (end < bytes.size() && bytes[end] != 0) ++end;
  return platform::AnsiToUtf16(
      std::string_view(reinterpret_cast<const char*>(bytes.data()) + offset, end - offset));
}

}  // namespace

std::u16string ReadFileText(std::u16string_view fileName, ProfileEncoding mode) {
  platform::File file =
      platform::File::Open(fileName, platform::FileAccess::Read, platform::kShareRead | platform::kShareWrite,
                           platform::FileDisposition::OpenExisting);
  if (!file) return {};
  const std::optional<uint32_t> size = file.Size();
  if (!size || *size == 0) return {};
  std::vector<unsigned char> bytes(static_cast<size_t>(*size) + kZeroPadding, 0);
  uint32_t done = 0;
  if (!file.Read(bytes.data(), *size, &done)) return {};
  file.Close();

  const bool mark = bytes[0] == 0xFF && bytes[1] == 0xFE;
  const bool utf16 = mode == ProfileEncoding::Utf16 || (mode != ProfileEncoding::Ansi && mark);
  const size_t offset = mark ? 2 : 0;
  return utf16 ? DecodeUtf16(bytes, offset) : DecodeAnsi(bytes, offset);
}

}  // namespace tavrel::xml::legacy
