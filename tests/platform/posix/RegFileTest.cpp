// The ".reg" file that plays the registry natively.
#include "platform/posix/RegFile.h"

#include <gtest/gtest.h>

namespace tavrel::platform::posix {
namespace {

std::vector<uint8_t> Utf16(std::u16string_view s) {
  std::vector<uint8_t> out;
  for (char16_t c : s) {
    out.push_back(static_cast<uint8_t>(c));
    out.push_back(static_cast<uint8_t>(c >> 8));
  }
  out.push_back(0);
  out.push_back(0);
  return out;
}

const RegValue* Find(const std::vector<RegValue>& values, std::u16string_view name) {
  for (const RegValue& v : values) {
    if (v.name == name) return &v;
  }
  return nullptr;
}

TEST(RegFile, ReadsEveryKindOfValue) {
  const RegFile file = RegFile::Parse(
      "Windows Registry Editor Version 5.00\r\n"
      "\r\n"
      "; a comment\r\n"
      "[HKEY_CURRENT_USER\\Software\\Merovan\\Orin 3.0]\r\n"
      "\"AppPath\"=\"C:\\\\Emb \\\"x\\\"\\\\\"\r\n"
      "@=\"default\"\r\n"
      "\"Count\"=dword:0000001f\r\n"
      "\"Blob\"=hex:01,02,\\\r\n"
      "  ff\r\n"
      "\"Expand\"=hex(2):25,00,41,00,25,00,00,00\r\n");
  const auto values = file.ValuesOf(u"HKEY_CURRENT_USER\\Software\\Merovan\\Orin 3.0");
  ASSERT_EQ(values.size(), 5u);
  EXPECT_EQ(Find(values, u"AppPath")->type, kRegSz);
  EXPECT_EQ(Find(values, u"AppPath")->data, Utf16(u"C:\\Emb \"x\"\\"));
  EXPECT_EQ(Find(values, u"")->data, Utf16(u"default"));
  EXPECT_EQ(Find(values, u"Count")->type, kRegDword);
  EXPECT_EQ(Find(values, u"Count")->data, (std::vector<uint8_t>{0x1f, 0, 0, 0}));
  EXPECT_EQ(Find(values, u"Blob")->type, kRegBinary);
  EXPECT_EQ(Find(values, u"Blob")->data, (std::vector<uint8_t>{1, 2, 0xff}));
  EXPECT_EQ(Find(values, u"Expand")->type, 2u);
  EXPECT_EQ(Find(values, u"Expand")->data, Utf16(u"%A%"));
}

TEST(RegFile, KeysAndParentsExistWithoutRegardToCase) {
  const RegFile file = RegFile::Parse(
      "Windows Registry Editor Version 5.00\n"
      "[HKCU\\Software\\Ostrana\\Ostrana Kyro]\n"
      "\"AppPath\"=\"/opt/kyro\"\n");
  EXPECT_TRUE(file.HasKey(u"HKEY_CURRENT_USER\\Software\\Ostrana\\Ostrana Kyro"));
  EXPECT_TRUE(file.HasKey(u"hkey_current_user\\SOFTWARE\\ostrana\\OSTRANA KYRO"));
  EXPECT_TRUE(file.HasKey(u"HKEY_CURRENT_USER\\Software\\Ostrana"));
  EXPECT_FALSE(file.HasKey(u"HKEY_CURRENT_USER\\Software\\Ostrana\\Ostrana Ky"));
  EXPECT_FALSE(file.HasKey(u"HKEY_LOCAL_MACHINE\\Software\\Ostrana\\Ostrana Kyro"));
  EXPECT_EQ(file.ValuesOf(u"HKEY_CURRENT_USER\\software\\ostrana\\ostrana kyro").size(), 1u);
}

TEST(RegFile, Utf16WithByteOrderMark) {
  const std::u16string text =
      u"Windows Registry Editor Version 5.00\r\n[HKEY_CURRENT_USER\\K]\r\n\"AppPath\"=\"C:\\\\Stickerei "
      u"\u00c4\u00d6\u00dc\"\r\n";
  std::string bytes = "\xFF\xFE";
  for (char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  const auto values = RegFile::Parse(bytes).ValuesOf(u"HKEY_CURRENT_USER\\K");
  ASSERT_EQ(values.size(), 1u);
  EXPECT_EQ(values[0].data, Utf16(u"C:\\Stickerei \u00c4\u00d6\u00dc"));
}

TEST(RegFile, RemovalsAndLaterValuesWin) {
  const RegFile file = RegFile::Parse(
      "Windows Registry Editor Version 5.00\n"
      "[HKEY_CURRENT_USER\\A]\n\"V\"=\"1\"\n\"W\"=\"x\"\n"
      "[HKEY_CURRENT_USER\\A]\n\"V\"=\"2\"\n\"W\"=-\n"
      "[HKEY_CURRENT_USER\\B\\C]\n\"V\"=\"3\"\n"
      "[-HKEY_CURRENT_USER\\B]\n");
  const auto values = file.ValuesOf(u"HKEY_CURRENT_USER\\A");
  ASSERT_EQ(values.size(), 1u);
  EXPECT_EQ(values[0].data, Utf16(u"2"));
  EXPECT_FALSE(file.HasKey(u"HKEY_CURRENT_USER\\B\\C"));
  EXPECT_FALSE(file.HasKey(u"HKEY_CURRENT_USER\\B"));
}

TEST(RegFile, MalformedInputGivesNothingOrSkipsTheLine) {
  struct Case {
    const char* name;
    std::string text;
    size_t values;
  };
  const Case cases[] = {
      {"no header", "[HKEY_CURRENT_USER\\A]\n\"V\"=\"1\"\n", 0},
      {"old header", "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"V\"=\"1\"\n", 0},
      {"unterminated string", "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A]\n\"V\"=\"1\n", 0},
      {"bad dword", "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A]\n\"V\"=dword:xyz\n", 0},
      {"long dword", "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A]\n\"V\"=dword:123456789\n",
       0},
      {"bad hex", "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A]\n\"V\"=hex:1g\n", 0},
      {"value outside a key", "Windows Registry Editor Version 5.00\n\"V\"=\"1\"\n[HKEY_CURRENT_USER\\A]\n",
       0},
      {"unclosed section", "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A\n\"V\"=\"1\"\n", 0},
      {"good line after a bad one",
       "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A]\n\"V\"=nonsense\n\"W\"=\"1\"\n", 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RegFile::Parse(c.text).ValuesOf(u"HKEY_CURRENT_USER\\A").size(), c.values) << c.name;
  }
}

}  // namespace
}  // namespace tavrel::platform::posix
