// The one-pass Load against the reading it replaced: the element tree of the
// whole text, walked section by section with GetAttribute. Both must give the
// same profile, status, place and section name, over the fuzz corpus and
// random documents, with the file read a few bytes at a time so that every
// tag, entity and line break is split between pieces somewhere.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "platform/Text.h"
#include "tests/support/TempDir.h"
#include "xml/XmlParser.h"
#include "xml/XmlProfile.h"

namespace tavrel::xml {
namespace {

using testing_support::TempDir;

struct Reading {
  ProfileResult result;
  std::string profile;  // sections and keys with their exact read-only numbers
};

std::string Describe(std::u16string_view name, int32_t readOnly) {
  return text::ToUtf8(name) + "(" + std::to_string(readOnly) + ")";
}

std::string Describe(const CXmlProfile& profile) {
  std::string out;
  for (const ProfileSection& s : profile.Sections()) {
    out += Describe(s.name, s.readOnly) + "[";
    for (const ProfileKey& k : s.keys)
      out += Describe(k.name, k.readOnly) + "=" + text::ToUtf8(k.value) + ";";
    out += "]";
  }
  return out;
}

// The tree-based reading: a section is named on its tag, created with its
// first usable key, and a repeated name stops the walk at its tag.
Reading TreeReading(const std::u16string& path, ProfileEncoding mode) {
  CXmlParser parser;
  Reading r{parser.LoadFileWithResult(path, mode), {}};
  if (!r.result) return r;
  CXmlElement* root = parser.GetRoot();
  if (root->Name() != u"profile") {
    r.result = ProfileResult::Of(ProfileStatus::NoProfile);
    return r;
  }
  std::vector<std::u16string> names;
  for (CXmlElement* e = parser.GetFirstChild(root); e != nullptr; e = parser.GetNextChild(root)) {
    const std::u16string name = e->GetAttribute(u"name");
    if (e->Name() != u"section" || name.empty()) continue;
    for (const std::u16string& seen : names) {
      if (!text::EqualsNoCase(seen.c_str(), name.c_str())) continue;
      r.result = ProfileResult::Of(ProfileStatus::RepeatedSection);
      r.result.section = name;
      r.result.line = e->Place().line;
      r.result.column = e->Place().column;
      return r;
    }
    std::string keys;
    std::vector<std::u16string> keyNames;
    for (CXmlElement* k = parser.GetFirstChild(e); k != nullptr; k = parser.GetNextChild(e)) {
      const std::u16string keyName = k->GetAttribute(u"name");
      const std::u16string value = k->GetAttribute(u"value");
      if (k->Name() != u"key" || keyName.empty() || value.empty()) continue;
      bool repeated = false;
      for (const std::u16string& seen : keyNames)
        repeated |= text::EqualsNoCase(seen.c_str(), keyName.c_str());
      if (repeated) continue;
      keyNames.push_back(keyName);
      keys +=
          Describe(keyName, text::ParseInt(k->GetAttribute(u"readonly"))) + "=" + text::ToUtf8(value) + ";";
    }
    if (keyNames.empty()) continue;
    names.push_back(name);
    r.profile += Describe(name, text::ParseInt(e->GetAttribute(u"readonly"))) + "[" + keys + "]";
  }
  return r;
}

std::u16string ReadFileText(const std::u16string& path, ProfileEncoding mode) {
  std::u16string text;
  ProfileFileReader().Read(path, mode, [&text](char16_t* first, char16_t* last) {
    text.append(first, last);
    return true;
  });
  return text;
}

// The line and column of a unit, counted in the decoded text.
std::pair<uint32_t, uint32_t> LineAndColumn(std::u16string_view text, uint64_t unit) {
  uint32_t line = 1;
  uint64_t start = 0;
  for (uint64_t i = 0; i < unit && i < text.size(); ++i) {
    if (text[i] == u'\n') {
      ++line;
      start = i + 1;
    }
  }
  return {line, static_cast<uint32_t>(unit - start + 1)};
}

void Compare(const std::u16string& path, const std::string& bytes, ProfileEncoding mode, size_t pieceBytes,
             const std::string& what) {
  SCOPED_TRACE(what + " mode " + std::to_string(static_cast<int>(mode)) + " piece " +
               std::to_string(pieceBytes));
  const Reading tree = TreeReading(path, mode);
  CXmlProfile profile;
  const ProfileResult loaded = profile.LoadWithResult(path.c_str(), mode, pieceBytes);
  EXPECT_EQ(loaded.status, tree.result.status) << loaded.Describe() << " / " << tree.result.Describe();
  EXPECT_EQ(Describe(profile), tree.profile);
  EXPECT_EQ(loaded.section, tree.result.section);
  EXPECT_EQ(loaded.line, tree.result.line);
  EXPECT_EQ(loaded.column, tree.result.column);
  if (tree.result.status == ProfileStatus::CutShort) {
    EXPECT_EQ(loaded.offset, tree.result.offset);
  }
  if (!loaded.HasPlace()) return;
  // The place agrees with the text: UTF-16 files count two bytes a unit, the
  // ANSI code page here one.
  const bool utf16 =
      mode == ProfileEncoding::Utf16 || (mode != ProfileEncoding::Ansi && bytes.rfind("\xFF\xFE", 0) == 0);
  const uint64_t mark = bytes.rfind("\xFF\xFE", 0) == 0 ? 2 : 0;
  const uint64_t unit = utf16 ? (loaded.offset - mark) / 2 : loaded.offset - mark;
  const auto [line, column] = LineAndColumn(ReadFileText(path, mode), unit);
  EXPECT_EQ(loaded.line, line);
  EXPECT_EQ(loaded.column, column);
}

std::string Utf16File(std::u16string_view text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes;
}

// A document of profile-like pieces in random order and number.
std::u16string RandomDocument(std::mt19937& rng) {
  static const std::u16string kParts[] = {
      u"<profile>",
      u"</profile>",
      u"<section name=\"General\">",
      u"<section name=\"general\" readonly=\"2\">",
      u"<section name=\"S&amp;T\">",
      u"</section>",
      u"<section name=\"\">",
      u"<section/>",
      u"\t\t<key name=\"EmbAppType\" value=\"1\"/>\r\n",
      u"<key name=\"k\" value=\"a&lt;b\" readonly=\"1\"/>",
      u"<key name=\"K\" value=\"2\"/>",
      u"<key value=\"x\" name=\"v\"/>",
      u"<key name=\"e\" value=\"\"/>",
      u"<key filename=\"x\" name=\"y\" value='z'/>",
      u"<key name=\"q\" value=\"unclosed/>",
      u"<key name=x value=\"y\" readonly=\"1\"/>",
      u"<key name=\"a value=\" value=\"b readonly=1\" readonly=\"3\"/>",
      u"<key name='n' value=\"v\"/><key name=\"m\"value=\"w\"/>",
      u"<!-- a > b -->",
      u"<?xml version=\"1.0\"?>",
      u"<![CDATA[x]]>",
      u"< key name=\"s\" value=\"1\"/>",
      u"<a<key name=\"n\" value=\"1\"/>",
      u">",
      u"<",
      u"\r\n",
      u"\n",
      u"\t",
      u" ",
      u"text",
      u"\u00e9\u20ac",
      u"<key\tname=\"t\"\tvalue=\"\t\"/>",
      u"<section\nname=\"L\">",
      u"</sect",
      u"<profile/>",
  };
  std::u16string doc;
  const size_t parts = rng() % 24;
  for (size_t i = 0; i < parts; ++i) doc += kParts[rng() % std::size(kParts)];
  return doc;
}

TEST(ProfileDifferential, OnePassLoadReadsAsTheTreeDid) {
  std::vector<std::pair<std::string, std::string>> files;
  for (const char* folder : {"corpus", "seeds"}) {
    const auto dir = std::filesystem::path(TAVREL_SOURCE_DIR) / "tests" / "fuzz" / folder;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir)) {
      if (!entry.is_regular_file()) continue;
      std::ifstream in(entry.path(), std::ios::binary);
      files.emplace_back(entry.path().filename().string(),
                         std::string(std::istreambuf_iterator<char>(in), {}));
    }
  }
  ASSERT_GT(files.size(), 5u);
  std::mt19937 rng(24u);
  for (int i = 0; i < 200; ++i) {
    const std::u16string doc = RandomDocument(rng);
    files.emplace_back("random " + std::to_string(i), rng() % 2 != 0 ? Utf16File(doc) : text::ToUtf8(doc));
  }
  // Long sections, past the length where repeated keys are dropped only
  // after the section's last key: names repeat in either case, near and far.
  for (int i = 0; i < 12; ++i) {
    std::u16string doc = u"<profile><section name=\"s\">";
    for (size_t k = 10 + rng() % 60; k > 0; --k) {
      doc += u"<key name=\"" + std::u16string(1, u"aAbB"[rng() % 4]) +
             text::FromAscii(std::to_string(rng() % 30)) + u"\" value=\"" +
             text::FromAscii(std::to_string(k)) + (rng() % 4 == 0 ? u"\"/>" : u"\" readonly=\"1\"/>");
    }
    doc += i % 2 == 0 ? u"</section><section name=\"t\"><key name=\"a1\" value=\"x\"/>"
                      : u"</section></profile>";
    files.emplace_back("long section " + std::to_string(i),
                       rng() % 2 != 0 ? Utf16File(doc) : text::ToUtf8(doc));
  }
  // Values that are most of their tag: one carried over pieces becomes the value.
  for (const char16_t* part : {u"C:\\x &amp; &lt;y&gt; ", u"plain ", u"&quot;"}) {
    std::u16string doc = u"<profile><section name=\"v\"><key name=\"a&amp;b\" value=\"";
    for (int k = 0; k < 60; ++k) doc += part;
    files.emplace_back("long value", Utf16File(doc + u"\"/></section><section name=\"w\"></profile>"));
  }
  TempDir dir;
  const std::u16string path = dir.Path(u"p.xml");
  for (const auto& [what, bytes] : files) {
    dir.Write(u"p.xml", bytes);
    for (ProfileEncoding mode : {ProfileEncoding::Auto, ProfileEncoding::Ansi, ProfileEncoding::Utf16}) {
      for (size_t piece : {size_t{2}, size_t{3} + rng() % 6, kProfilePieceBytes})
        Compare(path, bytes, mode, piece, what);
    }
  }
}

}  // namespace
}  // namespace tavrel::xml
