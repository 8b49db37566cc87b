#include "xml/XmlFileText.h"

#include <cstdint>
#include <vector>

#include "platform/Codepage.h"
#include "platform/File.h"

namespace tavrel::xml {

namespace {

// Zero bytes behind the data end the text in either encoding.
constexpr uint32_t kZeroPadding = 100;

std::u16string DecodeUtf16(const std::vector<unsigned char>& bytes, size_t offset) {
  const size_t units = (bytes.size() - offset) / 2;
  const unsigned char* in = bytes.data() + offset;
  std::u16string text(units, u'\0');
  size_t count = 0;
  for (; count < units; ++count) {
    const auto unit = static_cast<char16_t>(in[2 * count] | (in[2 * count + 1] << 8));
    if (unit == 0) break;
    text[count] = unit;
  }
  text.resize(count);
  return text;
}

std::u16string DecodeAnsi(const std::vector<unsigned char>& bytes, size_t offset) {
  // ASCII reads the same in every ANSI code page, so a text of ASCII only is
  // widened directly; any other byte hands the whole text to the code page.
  std::u16string text(bytes.size() - offset, u'\0');
  size_t count = 0;
  unsigned char high = 0;
  for (const unsigned char* in = bytes.data() + offset; *in != 0; ++in) {
    high |= *in;
    text[count++] = *in;
  }
  if (high < 0x80) {
    text.resize(count);
    return text;
  }
  return platform::AnsiToUtf16(std::string_view(reinterpret_cast<const char*>(bytes.data()) + offset, count));
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

}  // namespace tavrel::xml
