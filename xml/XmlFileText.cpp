#include "xml/XmlFileText.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/Codepage.h"
#include "platform/File.h"
#include "xml/XmlScan.h"

namespace tavrel::xml {

namespace {

static_assert(std::endian::native == std::endian::little, "UTF-16 files are read in place");

// Zero bytes behind the data end an ANSI text.
constexpr uint32_t kZeroPadding = 100;

// The rest of the file after the `head` bytes already read, as UTF-16 (the
// host's byte order is little-endian, as the file's): the file's bytes are
// read straight into the text, an odd last byte as the low half of a unit.
// False when the read fails.
bool ReadUtf16(platform::File& file, uint32_t size, const unsigned char* head, uint32_t headSize, bool mark,
               std::u16string& text) {
  const size_t offset = mark ? 2 : 0;
  text.assign((static_cast<size_t>(size) - offset + 1) / 2, u'\0');
  auto* bytes = reinterpret_cast<unsigned char*>(text.data());
  uint32_t filled = 0;
  if (!mark) {
    std::memcpy(bytes, head, headSize);
    filled = headSize;
  }
  uint32_t done = 0;
  if (size > headSize && !file.Read(bytes + filled, size - headSize, &done)) return false;
  text.resize(static_cast<size_t>(FindZeroUnit(text.data(), text.data() + text.size()) - text.data()));
  return true;
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

bool ReadAnsi(platform::File& file, uint32_t size, const unsigned char* head, uint32_t headSize, bool mark,
              std::u16string& text) {
  std::vector<unsigned char> bytes(static_cast<size_t>(size) + kZeroPadding, 0);
  std::memcpy(bytes.data(), head, headSize);
  uint32_t done = 0;
  if (size > headSize && !file.Read(bytes.data() + headSize, size - headSize, &done)) return false;
  text = DecodeAnsi(bytes, mark ? 2 : 0);
  return true;
}

}  // namespace

FileText ReadProfileFile(std::u16string_view fileName, ProfileEncoding mode) {
  FileText read;
  platform::File file =
      platform::File::Open(fileName, platform::FileAccess::Read, platform::kShareRead | platform::kShareWrite,
                           platform::FileDisposition::OpenExisting);
  if (!file) {
    read.result = FileFailure(fileName, platform::LastError(), ProfileStatus::ReadFailed);
    return read;
  }
  const std::optional<uint64_t> fullSize = file.Size();
  if (!fullSize) {
    read.result = FileFailure(fileName, platform::LastError(), ProfileStatus::ReadFailed);
    return read;
  }
  if (*fullSize > kMaxProfileFileBytes) {
    read.result = FileFailure(fileName, platform::kErrorFileTooLarge, ProfileStatus::ReadFailed);
    return read;
  }
  const std::optional<uint32_t> size = static_cast<uint32_t>(*fullSize);
  // The first two bytes tell the encoding; the rest goes straight to where
  // that encoding wants it.
  unsigned char head[2] = {0, 0};
  const uint32_t headSize = *size < 2 ? *size : 2;
  uint32_t done = 0;
  if (*size != 0 && !file.Read(head, headSize, &done)) {
    read.result = FileFailure(fileName, platform::LastError(), ProfileStatus::ReadFailed);
    return read;
  }
  read.mark = headSize == 2 && head[0] == 0xFF && head[1] == 0xFE;
  read.utf16 = mode == ProfileEncoding::Utf16 || (mode != ProfileEncoding::Ansi && read.mark);
  const bool ok = *size == 0 || (read.utf16 ? ReadUtf16(file, *size, head, headSize, read.mark, read.text)
                                            : ReadAnsi(file, *size, head, headSize, read.mark, read.text));
  if (!ok) {
    read.text.clear();
    read.result = FileFailure(fileName, platform::LastError(), ProfileStatus::ReadFailed);
  } else if (read.text.empty()) {
    read.result.status = ProfileStatus::EmptyFile;
  }
  return read;
}

std::u16string ReadFileText(std::u16string_view fileName, ProfileEncoding mode) {
  return std::move(ReadProfileFile(fileName, mode).text);
}

}  // namespace tavrel::xml
