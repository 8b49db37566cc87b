#include "xml/XmlFileText.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "platform/Codepage.h"
#include "platform/File.h"
#include "xml/XmlScan.h"

namespace tavrel::xml {

static_assert(std::endian::native == std::endian::little, "UTF-16 files are read and written in place");

ProfileResult ProfileFileReader::Read(std::u16string_view fileName, ProfileEncoding mode,
                                      const TextSink& sink, size_t pieceBytes,
                                      const std::function<void(uint64_t)>& sized) {
  *this = ProfileFileReader();
  platform::File file =
      platform::File::Open(fileName, platform::FileAccess::Read, platform::kShareRead | platform::kShareWrite,
                           platform::FileDisposition::OpenExisting);
  if (!file) return FileFailure(fileName, platform::LastError(), ProfileStatus::ReadFailed);
  const std::optional<uint64_t> size = file.Size();
  if (!size) return FileFailure(fileName, platform::LastError(), ProfileStatus::ReadFailed);
  if (*size > kMaxProfileFileBytes) {
    return FileFailure(fileName, platform::kErrorFileTooLarge, ProfileStatus::ReadFailed);
  }
  // At most kMaxProfileFileBytes from here on; a small file needs no more
  // buffer than itself, and is read at once.
  auto left = static_cast<uint32_t>(*size);
  pieceBytes = std::max<size_t>(std::min<uint64_t>(pieceBytes, left + uint64_t{1}) & ~size_t{1}, 2);
  // Each piece is read after the bytes carried from the last one: the odd byte
  // of a unit (UTF-16, bytes going straight into the units, an odd last byte
  // the low half of one) or the start of an ANSI character cut off (3 at most).
  std::u16string buffer((pieceBytes + kMaxCarry) / 2 + 1, u'\0');
  auto* bytes = reinterpret_cast<char*>(buffer.data());
  size_t have = 0;
  for (bool first = true; !stopped_; first = false) {
    const auto want = static_cast<uint32_t>(std::min<uint64_t>(left, pieceBytes));
    uint32_t done = 0;
    if (want != 0 && !file.Read(bytes + have, want, &done)) {
      return FileFailure(fileName, platform::LastError(), ProfileStatus::ReadFailed);
    }
    left -= done;
    have += done;
    bool last = done < want || left == 0;
    if (first) {
      // The first two bytes tell the encoding.
      const bool mark = have >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE';
      utf16_ = mode == ProfileEncoding::Utf16 || (mode != ProfileEncoding::Ansi && mark);
      mark_ = mark ? 2 : 0;
      bytes_ = mark_;
      if (sized) sized(utf16_ ? (*size - mark_ + 1) / 2 : *size - mark_);
    }
    const size_t skip = first ? mark_ : 0;
    const size_t used = skip + (utf16_ ? HandUtf16(bytes + skip, have - skip, last, sink)
                                       : DecodeAnsi({bytes + skip, have - skip}, last, sink));
    if (last) break;
    have -= used;
    std::memmove(bytes, bytes + used, have);
  }
  return ProfileResult::Of(units_ == 0 ? ProfileStatus::EmptyFile : ProfileStatus::Loaded);
}

void ProfileFileReader::Hand(char16_t* first, size_t count, uint64_t bytes, const TextSink& sink) {
  units_ += count;
  bytes_ += bytes;
  if (count != 0 && !sink(first, first + count)) stopped_ = true;
}

size_t ProfileFileReader::HandUtf16(char* read, size_t size, bool& last, const TextSink& sink) {
  auto* units = reinterpret_cast<char16_t*>(read);
  size_t count = size / 2;
  if (last && size % 2 != 0) {
    read[size] = 0;
    ++count;
  }
  const char16_t* zero = FindUnit(units, units + count, 0);
  if (zero != units + count) {
    count = static_cast<size_t>(zero - units);
    last = true;
  }
  Hand(units, count, 2 * static_cast<uint64_t>(count), sink);
  return 2 * count;
}

size_t ProfileFileReader::DecodeAnsi(std::string_view bytes, bool& last, const TextSink& sink) {
  const size_t zero = bytes.find('\0');
  if (zero != std::string_view::npos) {
    bytes = bytes.substr(0, zero);
    last = true;
  }
  // ASCII reads the same in every ANSI code page, so it is widened directly,
  // the high bytes of a code page of one byte a character from its table.
  units16_.resize(bytes.size());
  const std::array<char16_t, 256>* table = platform::AnsiByteUnits();
  const bool high = WidenBytes(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(),
                               units16_.data(), table != nullptr ? table->data() + 0x80 : nullptr);
  size_t used = bytes.size();
  if (table == nullptr && high) {
    // Longer characters: a character cut off at the end waits for the next
    // piece.
    if (!last) used = platform::WholeCharacters(bytes);
    const std::string_view text = bytes.substr(0, used);
    units16_ = platform::AnsiToUtf16(text);
    if (units16_.size() != used) AnchorTags(text);
  }
  Hand(units16_.data(), units16_.size(), used, sink);
  return used;
}

void ProfileFileReader::AnchorTags(std::string_view text) {
  // "<" is one byte and one unit in every code page and never part of
  // another character, so the n-th "<" of the bytes is the n-th of the
  // units. Only the anchors that the last one does not foretell are kept.
  const auto add = [this](uint64_t unit, uint64_t byte) {
    const uint64_t shift = anchors_.empty() ? mark_ : anchors_.back().byte - anchors_.back().unit;
    if (byte - unit != shift) anchors_.push_back({static_cast<uint32_t>(unit), static_cast<uint32_t>(byte)});
  };
  size_t unit = 0;
  for (size_t byte = text.find('<'); byte != std::string_view::npos; byte = text.find('<', byte + 1)) {
    unit = FindUnit(units16_, u'<', unit);
    if (unit == std::u16string_view::npos) break;
    add(units_ + unit, bytes_ + byte);
    ++unit;
  }
  add(units_ + units16_.size(), bytes_ + text.size());
}

void ProfileFileReader::SetPlace(const TextPlace& at, ProfileResult& result) const {
  result.line = at.line;
  result.column = at.column;
  if (utf16_) {
    result.offset = mark_ + 2 * at.unit;
    return;
  }
  const auto after = std::upper_bound(anchors_.begin(), anchors_.end(), at.unit,
                                      [](uint64_t unit, const Anchor& a) { return unit < a.unit; });
  result.offset =
      after == anchors_.begin() ? mark_ + at.unit : (after - 1)->byte + (at.unit - (after - 1)->unit);
}

}  // namespace tavrel::xml
