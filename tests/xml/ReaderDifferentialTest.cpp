// The reader against the one it replaced: the same tree, texts and attribute
// values on the fuzz corpus, the golden files, random markup, mutated profile
// documents and random file bytes in every mode. TAVREL_DIFF_DOCS sets how
// many random documents each case runs (default 2000).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

#include "platform/Text.h"
#include "tests/support/TempDir.h"
#include "tests/xml/legacy/LegacyParser.h"
#include "xml/XmlFileText.h"
#include "xml/XmlParser.h"

namespace tavrel::xml {
namespace {

int DocumentCount() {
  const char* value = std::getenv("TAVREL_DIFF_DOCS");
  return value != nullptr ? std::atoi(value) : 2000;
}

// Every element depth-first (without recursion): name, attribute text, text,
// the three attributes the profile asks for, child count.
template <class Element>
std::u16string Describe(const Element& root) {
  std::u16string out;
  std::vector<const Element*> pending{&root};
  while (!pending.empty()) {
    const Element* e = pending.back();
    pending.pop_back();
    out += u"<" + std::u16string(e->Name()) + u"|" + std::u16string(e->AttributeText()) + u"|" +
           std::u16string(e->Text()) + u"|" + e->GetAttribute(u"name") + u"|" + e->GetAttribute(u"value") +
           u"|" + e->GetAttribute(u"readonly") + u"|" +
           text::FormatInt(static_cast<int32_t>(e->ChildCount())) + u">";
    for (size_t i = e->ChildCount(); i > 0; --i) pending.push_back(&e->Child(i - 1));
  }
  return out;
}

struct Counts {
  int documents = 0;
  int differences = 0;
};

void CompareText(std::u16string_view document, Counts& counts) {
  legacy::CXmlParser before;
  CXmlParser after;
  before.Parse(document);
  after.Parse(document);
  ++counts.documents;
  if (Describe(*before.GetRoot()) != Describe(*after.GetRoot())) {
    ++counts.differences;
    ADD_FAILURE() << "differs: " << text::ToUtf8(document);
  }
}

void CompareFile(const std::u16string& path, Counts& counts) {
  for (auto mode : {ProfileEncoding::Auto, ProfileEncoding::Ansi, ProfileEncoding::Utf16,
                    static_cast<ProfileEncoding>(9)}) {
    legacy::CXmlParser before;
    CXmlParser after;
    before.Parse(u"<old/>");
    after.Parse(u"<old/>");
    ++counts.documents;
    const int a = before.LoadFile(path, mode);
    const int b = after.LoadFile(path, mode);
    if (a != b || legacy::ReadFileText(path, mode) != ReadFileText(path, mode) ||
        Describe(*before.GetRoot()) != Describe(*after.GetRoot())) {
      ++counts.differences;
      ADD_FAILURE() << "differs: " << text::ToUtf8(path) << " mode " << static_cast<int>(mode);
    }
  }
}

class RandomText {
 public:
  explicit RandomText(uint32_t seed) : rng_(seed) {}
  int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }

  // Markup pieces, white space of every kind the reader treats, entities and
  // letters beyond ASCII, strung together at random.
  std::u16string Markup() {
    static const std::u16string_view kPieces[] = {u"<",
                                                  u">",
                                                  u"/",
                                                  u"</",
                                                  u"/>",
                                                  u"<!--",
                                                  u"-->",
                                                  u"<?xml version=\"1.0\"?>",
                                                  u"<!",
                                                  u"<?",
                                                  u"<key name=\"",
                                                  u"\" value=\"",
                                                  u"\"",
                                                  u"=",
                                                  u" ",
                                                  u"\t",
                                                  u"\r\n",
                                                  u"\n",
                                                  u"section",
                                                  u"profile",
                                                  u"key",
                                                  u"name",
                                                  u"value",
                                                  u"readonly",
                                                  u"readonly=\"1\"",
                                                  u"&amp;",
                                                  u"&lt;",
                                                  u"&",
                                                  u"a",
                                                  u"B",
                                                  u"\u00a0",
                                                  u"\u3000",
                                                  u"\u000b",
                                                  u"\u00e9",
                                                  u"\U0001F600",
                                                  u"x",
                                                  u"1",
                                                  u"<section name=\"G\">",
                                                  u"</section>",
                                                  u"<profile>",
                                                  u"</profile>",
                                                  u"<a/>",
                                                  u"<![CDATA[",
                                                  u"]]>"};
    std::u16string out;
    const int count = Pick(0, 40);
    for (int i = 0; i < count; ++i) out += kPieces[Pick(0, static_cast<int>(std::size(kPieces)) - 1)];
    return out;
  }

  // A well-formed profile document with a few characters inserted, deleted
  // or replaced.
  std::u16string MutatedProfile() {
    std::u16string out = u"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n<profile>\r\n";
    const int sections = Pick(0, 4);
    for (int s = 0; s < sections; ++s) {
      out += u"\t<section name=\"S" + text::FormatInt(Pick(0, 3)) + u"\">\r\n";
      const int keys = Pick(0, 4);
      for (int k = 0; k < keys; ++k) {
        out += u"\t\t<key name=\"K" + text::FormatInt(Pick(0, 3)) + u"\" value=\"v&amp;" +
               text::FormatInt(Pick(0, 99)) + u"\"" + (Pick(0, 3) == 0 ? u" readonly=\"1\"" : u"") +
               u"/>\r\n";
      }
      out += u"\t</section>\r\n";
    }
    out += u"</profile>\r\n";
    static constexpr std::u16string_view kMarks = u"<>/!?\" =\t&a";
    const int edits = Pick(0, 4);
    for (int e = 0; e < edits && !out.empty(); ++e) {
      const auto at = static_cast<size_t>(Pick(0, static_cast<int>(out.size()) - 1));
      const char16_t c = kMarks[static_cast<size_t>(Pick(0, static_cast<int>(kMarks.size()) - 1))];
      switch (Pick(0, 2)) {
        case 0:
          out.insert(at, 1, c);
          break;
        case 1:
          out.erase(at, 1);
          break;
        default:
          out[at] = c;
          break;
      }
    }
    return out;
  }

  std::string Bytes() {
    static constexpr std::string_view kBytes("<>/!? =\"\tak\x80\xfc\xff\xfe\x00\r\n", 19);
    std::string out;
    const int count = Pick(0, 60);
    for (int i = 0; i < count; ++i)
      out += kBytes[static_cast<size_t>(Pick(0, static_cast<int>(kBytes.size()) - 1))];
    return out;
  }

 private:
  std::mt19937 rng_;
};

TEST(ReaderDifferential, CorpusAndGoldenFiles) {
  Counts counts;
  for (const char* folder : {"tests/fuzz/corpus", "tests/xml/golden"}) {
    for (const auto& entry :
         std::filesystem::directory_iterator(std::filesystem::path(TAVREL_SOURCE_DIR) / folder)) {
      CompareFile(entry.path().u16string(), counts);
      std::ifstream in(entry.path(), std::ios::binary);
      const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      std::u16string units;
      for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        units += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                       (static_cast<unsigned char>(bytes[i + 1]) << 8));
      CompareText(units, counts);
    }
  }
  std::printf("corpus and golden files: %d readings, %d differences\n", counts.documents, counts.differences);
  EXPECT_GT(counts.documents, 0);
}

TEST(ReaderDifferential, RandomDocuments) {
  Counts counts;
  RandomText random(20261207u);
  const int n = DocumentCount();
  for (int i = 0; i < n; ++i) {
    CompareText(random.Markup(), counts);
    CompareText(random.MutatedProfile(), counts);
  }
  std::printf("random documents: %d compared, %d differences\n", counts.documents, counts.differences);
}

TEST(ReaderDifferential, RandomFileBytes) {
  Counts counts;
  RandomText random(7u);
  testing_support::TempDir dir;
  const std::u16string path = dir.Path(u"d.xml");
  const int n = DocumentCount() / 10 + 1;
  for (int i = 0; i < n; ++i) {
    std::string bytes = random.Bytes();
    if (random.Pick(0, 2) == 0) bytes = "\xff\xfe" + bytes;
    dir.Write(u"d.xml", bytes);
    CompareFile(path, counts);
  }
  std::printf("random files: %d readings, %d differences\n", counts.documents, counts.differences);
}

}  // namespace
}  // namespace tavrel::xml
