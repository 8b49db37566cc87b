#include <gtest/gtest.h>

#include <vector>

#include "xml/XmlProfile.h"

namespace tavrel::xml {
namespace {

ProfileSectionList Sample() {
  ProfileSectionList sections;
  sections.push_back({u"A\"B", 1, {}, {}});
  sections.back().keys.push_back({u"k<1>", u"x readonly=1", 0});
  sections.back().keys.push_back({u"", u"unnamed", 0});
  sections.back().keys.push_back({u"empty", u"", 0});
  sections.back().keys.push_back({u"k2", u"&amp;", 7});
  sections.push_back({u"Skipped", 0, {}, {}});
  sections.back().keys.push_back({u"e", u"", 1});
  return sections;
}

TEST(ProfileLines, LayoutAndEscaping) {
  std::vector<std::u16string> lines;
  std::vector<bool> firsts;
  ASSERT_TRUE(WriteProfileLines(Sample(), false, [&](std::u16string_view line, bool first) {
    lines.emplace_back(line);
    firsts.push_back(first);
    return true;
  }));
  const std::vector<std::u16string> expected = {
      u"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n",
      u"<profile>\r\n",
      u"\t<section name=\"A&quot;B\" readonly=\"1\">\r\n",
      u"\t\t<key name=\"k&lt;1&gt;\" value=\"x readonly=1\"/>\r\n",
      u"\t\t<key name=\"k2\" value=\"&amp;amp;\" readonly=\"1\"/>\r\n",
      u"\t</section>\r\n",
      u"</profile>\r\n",
  };
  EXPECT_EQ(lines, expected);
  EXPECT_EQ(firsts, (std::vector<bool>{true, false, false, false, false, false, false}));

  lines.clear();
  WriteProfileLines({}, true, [&](std::u16string_view line, bool) {
    lines.emplace_back(line);
    return true;
  });
  EXPECT_EQ(lines.front(), u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n");
  EXPECT_EQ(lines.size(), 3u);
}

TEST(ProfileLines, SaveReportsEarlierWriteFailure) {
  // Whichever line fails, the whole write fails and nothing after it is
  // written; a later successful line does not hide it.
  for (size_t failing = 0; failing < 7; ++failing) {
    size_t calls = 0;
    const bool ok =
        WriteProfileLines(Sample(), false, [&](std::u16string_view, bool) { return calls++ != failing; });
    EXPECT_FALSE(ok) << "line " << failing;
    EXPECT_EQ(calls, failing + 1);
  }
}

}  // namespace
}  // namespace tavrel::xml
