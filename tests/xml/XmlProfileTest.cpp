#include <gtest/gtest.h>

#include "platform/Text.h"

#include "xml/XmlProfile.h"

namespace tavrel::xml {
namespace {

std::u16string Names(const CXmlProfile& p) {
  std::u16string out;
  for (const ProfileSection& s : p.Sections()) {
    out += s.name + u"(";
    for (const ProfileKey& k : s.keys) out += k.name + u"=" + k.value + u";";
    out += u")";
  }
  return out;
}

TEST(XmlProfile, LookupsIgnoreCaseAndKeepTheWrittenCase) {
  CXmlProfile p;
  EXPECT_EQ(p.SetInt(u"General", u"EmbAppType", 3), 1);
  EXPECT_EQ(p.GetInt(u"general", u"embapptype", 0), 3);
  EXPECT_EQ(p.SetString(u"GENERAL", u"EMBAPPTYPE", u"4"), 1);
  EXPECT_EQ(Names(p), u"General(EmbAppType=4;)");
  EXPECT_EQ(p.FindSection(u""), nullptr);
  EXPECT_EQ(p.FindSection(nullptr), nullptr);
  EXPECT_EQ(p.FindKey(nullptr, u"EmbAppType"), nullptr);
  EXPECT_EQ(p.FindKey(p.FindSection(u"general"), u""), nullptr);
}

struct IntCase {
  const char16_t* stored;
  int32_t expected;
};

TEST(XmlProfile, GetIntReadsTheLeadingInteger) {
  const IntCase cases[] = {{u"12abc", 12},
                           {u"abc", 0},
                           {u"", 77},
                           {u"  -42", -42},
                           {u"+7", 7},
                           {u"99999999999", INT32_MAX},
                           {u"-99999999999", INT32_MIN},
                           {u"\u0661\u0662", 12}};
  for (const IntCase& c : cases) {
    CXmlProfile p;
    p.SetString(u"s", u"k", c.stored);
    EXPECT_EQ(p.GetInt(u"s", u"k", 77), c.expected) << text::ToUtf8(c.stored);
  }
  CXmlProfile p;
  EXPECT_EQ(p.GetInt(u"s", u"missing", 5), 5);
  EXPECT_EQ(p.GetInt(nullptr, u"k", 6), 6);
  EXPECT_EQ(p.GetInt(u"s", nullptr, 8), 8);
}

TEST(XmlProfile, GetStringDefaultsAndEmptyValues) {
  CXmlProfile p;
  EXPECT_EQ(p.GetString(u"s", u"k", u"dflt"), u"dflt");
  EXPECT_EQ(p.GetString(u"s", u"k", nullptr), u"");
  p.SetString(u"s", u"k", u"");
  EXPECT_EQ(p.GetString(u"s", u"k", u"dflt"), u"");  // an empty value is still a value
  EXPECT_EQ(p.GetString(nullptr, u"k", u"dflt"), u"dflt");
}

TEST(XmlProfile, SetIntFormatsDecimalAndNeedsSectionAndKey) {
  CXmlProfile p;
  EXPECT_EQ(p.SetInt(u"s", u"k", -5), 1);
  EXPECT_EQ(p.GetString(u"s", u"k", nullptr), u"-5");
  EXPECT_EQ(p.SetInt(u"s", u"m", INT32_MIN), 1);
  EXPECT_EQ(p.GetString(u"s", u"m", nullptr), u"-2147483648");
  EXPECT_EQ(p.SetInt(u"s", nullptr, 1), 0);  // would delete the section through SetString
  EXPECT_EQ(p.SetInt(nullptr, u"k", 1), 0);
  EXPECT_EQ(Names(p), u"s(k=-5;m=-2147483648;)");
}

TEST(XmlProfile, AbsentKeyDeletesSectionAbsentValueDeletesKey) {
  CXmlProfile p;
  p.SetString(u"a", u"k1", u"1");
  p.SetString(u"a", u"k2", u"2");
  p.SetString(u"b", u"k", u"3");
  EXPECT_EQ(p.SetString(u"a", u"K1", nullptr), 0);
  EXPECT_EQ(Names(p), u"a(k2=2;)b(k=3;)");
  EXPECT_EQ(p.SetValue(u"a", u"new", nullptr, 0), nullptr);  // nothing to delete, nothing created
  EXPECT_EQ(Names(p), u"a(k2=2;)b(k=3;)");
  EXPECT_EQ(p.SetString(u"A", nullptr, u"x"), 0);
  EXPECT_EQ(Names(p), u"b(k=3;)");
  EXPECT_EQ(p.SetString(u"", u"k", u"v"), 0);
  EXPECT_EQ(p.SetString(nullptr, u"k", u"v"), 0);
  p.RemoveAll();
  EXPECT_TRUE(p.Sections().empty());
}

TEST(XmlProfile, EmptyKeyNamesAppendUnreachableKeys) {
  CXmlProfile p;
  EXPECT_EQ(p.SetString(u"s", u"", u"v"), 1);
  EXPECT_EQ(p.SetString(u"s", u"", u"w"), 1);
  EXPECT_EQ(p.Sections().front().keys.size(), 2u);
  EXPECT_EQ(p.GetString(u"s", u"", u"dflt"), u"dflt");
}

TEST(XmlProfile, ReadOnlyEntriesRefuseChanges) {
  CXmlProfile p;
  ProfileKey* locked = p.SetValue(u"s", u"locked", u"1", 1);
  ASSERT_NE(locked, nullptr);
  EXPECT_EQ(locked->readOnly, 1);
  EXPECT_EQ(p.SetString(u"s", u"locked", u"2"), 0);
  EXPECT_EQ(p.SetString(u"s", u"locked", nullptr), 0);
  EXPECT_EQ(p.GetString(u"s", u"locked", nullptr), u"1");
  // An existing key keeps its flag whatever SetValue is given.
  ProfileKey* open = p.SetValue(u"s", u"open", u"a", 0);
  EXPECT_EQ(p.SetValue(u"s", u"open", u"b", 1), open);
  EXPECT_EQ(open->readOnly, 0);

  CXmlProfile q;
  q.SetString(u"ro", u"k", u"v");
  ProfileSection* section = q.FindSection(u"ro");
  section->readOnly = 1;
  EXPECT_EQ(q.SetString(u"ro", u"new", u"v"), 0);
  EXPECT_EQ(q.SetString(u"ro", u"k", u"w"), 0);
  EXPECT_EQ(q.SetString(u"ro", u"k", nullptr), 0);
  EXPECT_EQ(q.SetString(u"ro", nullptr, nullptr), 0);
  EXPECT_EQ(q.SetKeyValue(nullptr, u"k", u"v", 0), nullptr);
  EXPECT_EQ(Names(q), u"ro(k=v;)");
}

}  // namespace
}  // namespace tavrel::xml
