#include "bench/HostileShapes.h"

#include <cstdint>
#include <string>

#include "bench/BenchFiles.h"
#include "xml/XmlProfile.h"

namespace tavrel::bench {

namespace {

constexpr size_t kNames = 100000;
// The index of 100,000 keys has 2^18 slots; smaller ones while it grows.
constexpr uint32_t kLowBits = (1U << 18) - 1;

// The name hash before it was seeded: FNV-1a from its fixed basis, the
// halves of the 64 bits folded together.
uint64_t Fnv(uint64_t hash, char16_t c) {
  return (hash ^ (c >= u'A' && c <= u'Z' ? c + (u'a' - u'A') : c)) * 1099511628211ULL;
}
uint32_t Folded(uint64_t hash) {
  const auto folded = static_cast<uint32_t>(hash ^ (hash >> 32));
  return folded > 1 ? folded : folded + 2;
}

// A unit that reads back as itself from a saved name.
bool Plain(uint32_t c) {
  return c >= 0x20 && c != u'"' && c != u'&' && c != u'<' && c != u'>' && (c < u'A' || c > u'Z') &&
         (c < 0xD800 || c > 0xDFFF) && c < 0xFFFE;
}

// `prefix` and two more units chosen so that the old hash's low bits are
// `target`: the last unit sets them, its low byte first (the low byte of
// the hash hangs on it alone), then its high byte.
std::u16string Colliding(const std::u16string& prefix, uint32_t target) {
  uint64_t head = 14695981039346656037ULL;
  for (char16_t c : prefix) head = Fnv(head, c);
  for (char16_t first = 0x4E00;; ++first) {
    const uint64_t h1 = Fnv(head, first);
    const auto unitFor = [h1](uint32_t low) { return static_cast<uint32_t>((low ^ h1) & 0xFFFF); };
    const auto hashOf = [h1](uint32_t unit) { return Folded((h1 ^ unit) * 1099511628211ULL); };
    uint32_t lowByte = 0;
    while (lowByte < 256 && (hashOf(unitFor(lowByte)) & 0xFF) != (target & 0xFF)) ++lowByte;
    for (uint32_t high = 0; lowByte < 256 && high < 256; ++high) {
      const uint32_t unit = unitFor(high << 8 | lowByte);
      if ((hashOf(unit) & kLowBits) == (target & kLowBits) && Plain(unit)) {
        return prefix + first + static_cast<char16_t>(unit);
      }
    }
  }
}

std::filesystem::path NamesFile(bool colliding) {
  const std::filesystem::path path =
      ScratchFolder() / (colliding ? "names-colliding.xml" : "names-plain.xml");
  if (std::filesystem::exists(path)) return path;
  xml::CXmlProfile profile;
  for (size_t i = 0; i < kNames; ++i) {
    std::u16string name = u"k";
    for (char c : std::to_string(i)) name += static_cast<char16_t>(c);
    if (colliding)
      name = Colliding(name, 0x2A2A2);
    else
      name += u"\u4E00\u4E01";
    profile.SetString(u"Names", name.c_str(), u"1");
  }
  profile.Save(path.u16string().c_str(), xml::ProfileEncoding::Utf16);
  return path;
}

size_t FileSize(const std::filesystem::path& path) {
  return static_cast<size_t>(std::filesystem::file_size(path));
}

// `head`, then `fill` to the size of `like`.
std::filesystem::path Filled(const std::string& name, std::string head, char fill,
                             const std::filesystem::path& like) {
  const std::filesystem::path path = ScratchFolder() / name;
  if (!std::filesystem::exists(path)) {
    head.resize(FileSize(like), fill);
    WriteBytes(path, head);
  }
  return path;
}

}  // namespace

HostilePair HostileShapeOf(std::string_view name) {
  if (name.starts_with("names:")) return {NamesFile(true), NamesFile(false)};
  const std::filesystem::path plain = DocumentOfSize(4).ansiFile;
  // A high byte, then bytes that are never a place to cut ANSI text.
  if (name.starts_with("ansi-no-cut")) return {Filled("ansi-no-cut.xml", "<profile>\xE9", 'A', plain), plain};
  // A character of two bytes in the double-byte code pages, then "<" only.
  return {Filled("lt-flood.xml", "<profile>\x82\xA0", '<', plain), plain};
}

}  // namespace tavrel::bench
