#include <gtest/gtest.h>

#include <random>

#include "platform/Text.h"
#include "tests/support/TempDir.h"
#include "tests/xml/ProfileFiles.h"
#include "xml/XmlProfile.h"

namespace tavrel::xml {
namespace {

// Markup characters, white space other than tab and line breaks, and letters
// beyond ASCII (a surrogate pair included where UTF-16 is written).
constexpr std::u16string_view kUnicodeAlphabet =
    u"aZ09 &<>\"'=/!?;#\u00e4\u00df\u20ac\u0416\u4e2d\u00a0\U0001F600";
constexpr std::u16string_view kAnsiAlphabet = u"aZ09 &<>\"'=/!?;#\u00e4\u00df\u20ac\u00fc\u0152\u00a0";

class RandomProfiles {
 public:
  RandomProfiles(std::u16string_view alphabet, uint32_t seed) : alphabet_(alphabet), rng_(seed) {}

  std::u16string Text() {
    std::u16string out;
    const int length = Pick(1, 8);
    for (int i = 0; i < length; ++i) {
      const size_t at = static_cast<size_t>(Pick(0, static_cast<int>(alphabet_.size()) - 1));
      if (at + 1 < alphabet_.size() && alphabet_[at] >= 0xD800 && alphabet_[at] <= 0xDBFF) {
        out += alphabet_.substr(at, 2);
      } else if (alphabet_[at] < 0xDC00 || alphabet_[at] > 0xDFFF) {
        out += alphabet_[at];
      }
    }
    return out.empty() ? u"x" : out;
  }

  void Fill(CXmlProfile& profile) {
    const int sections = Pick(0, 4);
    for (int s = 0; s < sections; ++s) {
      const std::u16string section = Text();
      const int keys = Pick(1, 5);
      for (int k = 0; k < keys; ++k)
        profile.SetValue(section.c_str(), Text().c_str(), Text().c_str(), Pick(0, 1));
      if (ProfileSection* entry = profile.FindSection(section.c_str()); entry != nullptr && Pick(0, 3) == 0) {
        entry->readOnly = 1;
      }
    }
  }

 private:
  int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }

  std::u16string_view alphabet_;
  std::mt19937 rng_;
};

struct RoundTripCase {
  ProfileEncoding mode;
  std::u16string_view alphabet;
};

TEST(ProfileRoundTrip, RandomProfilesSurviveSaveAndLoad) {
  const RoundTripCase cases[] = {{ProfileEncoding::Auto, kUnicodeAlphabet},
                                 {ProfileEncoding::Utf16, kUnicodeAlphabet},
                                 {ProfileEncoding::Ansi, kAnsiAlphabet}};
  testing_support::TempDir dir;
  const std::u16string path = dir.Path(u"p.xml");
  for (const RoundTripCase& c : cases) {
    RandomProfiles random(c.alphabet, 20240611u);
    for (int i = 0; i < 300; ++i) {
      CXmlProfile original;
      random.Fill(original);
      ASSERT_NE(original.Save(path.c_str(), c.mode), 0);
      CXmlProfile loaded;
      ASSERT_EQ(loaded.Load(path.c_str(), c.mode), 1);
      ASSERT_EQ(testing::Describe(loaded), testing::Describe(original))
          << "mode " << static_cast<int>(c.mode) << " profile " << i << "\n"
          << dir.Read(u"p.xml");
    }
  }
}

}  // namespace
}  // namespace tavrel::xml
