#include "bench/ProfileDocument.h"

#include <array>
#include <random>

#include "platform/Text.h"
#include "xml/XmlText.h"

namespace tavrel::bench {

namespace {

constexpr std::array<std::u16string_view, 8> kWords = {u"General", u"Export", u"Embroidery", u"Recent",
                                                       u"Window",  u"Colors", u"Options",    u"Stitch"};
constexpr std::array<std::u16string_view, 8> kKeys = {u"EmbAppType", u"ExportType",  u"OptimiseCurves",
                                                      u"LastFolder", u"WindowWidth", u"ColorMode",
                                                      u"Density",    u"Title"};

std::u16string Value(std::mt19937& rng, size_t key) {
  switch (rng() % 4) {
    case 0:
      return text::FormatInt(static_cast<int32_t>(rng() % 100000));
    case 1:
      return u"C:\\Users\\Designer\\Documents\\" + std::u16string(kWords[key % kWords.size()]) + u"\\Images";
    case 2:
      return std::u16string(kWords[rng() % kWords.size()]) + u" & " + std::u16string(kWords[key % 8]);
    default:
      return std::u16string(kWords[rng() % kWords.size()]) + u" \u00e9t\u00e9 \"draft\"";
  }
}

}  // namespace

std::u16string SectionName(size_t index) {
  return std::u16string(kWords[index % kWords.size()]) + text::FormatInt(static_cast<int32_t>(index));
}

std::u16string KeyName(size_t index) {
  return std::u16string(kKeys[index % kKeys.size()]) + text::FormatInt(static_cast<int32_t>(index));
}

std::u16string ProfileDocument(size_t utf8Bytes) {
  std::mt19937 rng(20261207u);
  std::u16string text = u"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n<profile>\r\n";
  size_t bytes = text.size();
  for (size_t s = 0; bytes < utf8Bytes; ++s) {
    std::u16string section = u"\t<section name=\"" + SectionName(s) + u"\">\r\n";
    const size_t keys = 2 + rng() % 10;
    for (size_t k = 0; k < keys; ++k) {
      section += u"\t\t<key name=\"" + KeyName(k) + u"\" value=\"" + xml::EscapeAttribute(Value(rng, k)) +
                 u"\"" + (rng() % 16 == 0 ? u" readonly=\"1\"" : u"") + u"/>\r\n";
    }
    section += u"\t</section>\r\n";
    bytes += text::ToUtf8(section).size();
    text += section;
  }
  return text + u"</profile>\r\n";
}

void FillProfile(xml::CXmlProfile& profile, size_t sections, size_t keysPerSection) {
  std::mt19937 rng(7u);
  for (size_t s = 0; s < sections; ++s) {
    const std::u16string section = SectionName(s);
    for (size_t k = 0; k < keysPerSection; ++k) {
      profile.SetString(section.c_str(), KeyName(k).c_str(), Value(rng, k).c_str());
    }
  }
}

}  // namespace tavrel::bench
