// The application table and the lookup of an application's folder.
#include "export/EmbAppTable.h"

#include <gtest/gtest.h>

#include <iterator>

#include "platform/Text.h"
#include "tests/support/ScopedRegistry.h"

namespace tavrel::exporting {
namespace {

using testing_support::RegistryRoot;
using testing_support::ScopedRegistry;

std::u16string KeyOf(int index) { return text::FromAscii(AppInfo(index)->registryKey); }

std::string Utf16Bytes(std::u16string_view s) {
  std::string out;
  for (char16_t c : s) {
    out.push_back(static_cast<char>(c & 0xFF));
    out.push_back(static_cast<char>(c >> 8));
  }
  return out;
}

class EmbAppTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int index = 1; index <= kAppCount; ++index) {
      registry_.RemoveKey(RegistryRoot::CurrentUser, KeyOf(index));
      registry_.RemoveKey(RegistryRoot::LocalMachine, KeyOf(index));
    }
  }
  void TearDown() override {
    for (int index = 1; index <= kAppCount; ++index)
      registry_.RemoveKey(RegistryRoot::LocalMachine, KeyOf(index));
  }
  ScopedRegistry registry_;
};

TEST_F(EmbAppTableTest, RowsInIndexOrder) {
  struct Row {
    const char* key;
    std::u16string_view exe;
    std::u16string_view name;
  };
  const Row rows[] = {
      {"Software\\Merovan\\Orin 3.0", u"Orin.exe", u"Orin 3"},
      {"Software\\Ostrana\\Ostrana Kyro", u"Kyro.exe", u"Kyro 3"},
      {"Software\\Merovan\\Pemberly 2.0", u"Pemberly2.exe", u"Pemberly 2.0"},
      {"Software\\Ostrana\\Ostrana Kyro - Vesk", u"KyroVesk.exe", u"Kyro Vesk"},
  };
  ASSERT_EQ(kAppCount, static_cast<int32_t>(std::size(rows)));
  for (int index = 1; index <= kAppCount; ++index) {
    const EmbAppInfo* app = AppInfo(index);
    ASSERT_NE(app, nullptr) << index;
    EXPECT_EQ(app->index, index);
    EXPECT_EQ(app->registryKey, rows[index - 1].key);
    EXPECT_EQ(app->exeName, rows[index - 1].exe);
    EXPECT_EQ(app->displayName, rows[index - 1].name);
  }
  for (int index : {0, 5, -1}) EXPECT_EQ(AppInfo(index), nullptr) << index;
}

TEST_F(EmbAppTableTest, FolderAsStoredOrNotFound) {
  const std::u16string of126(126, u'a');
  const std::u16string of127(127, u'b');
  struct Case {
    const char* name;
    uint32_t type;
    std::string bytes;
    std::optional<std::u16string> folder;
  };
  const Case cases[] = {
      {"plain folder", testing_support::kRegSz, Utf16Bytes(std::u16string(u"C:\\Emb") + u'\0'), u"C:\\Emb"},
      {"ends in a backslash", testing_support::kRegSz, Utf16Bytes(std::u16string(u"C:\\Emb\\") + u'\0'),
       u"C:\\Emb\\"},
      {"quotes and references stay", testing_support::kRegExpandSz,
       Utf16Bytes(std::u16string(u"\"%ProgramFiles%\\Orin\"") + u'\0'), u"\"%ProgramFiles%\\Orin\""},
      {"126 characters", testing_support::kRegSz, Utf16Bytes(of126 + u'\0'), of126},
      {"127 characters", testing_support::kRegSz, Utf16Bytes(of127 + u'\0'), std::nullopt},
      {"empty", testing_support::kRegSz, std::string(2, '\0'), std::nullopt},
      {"no bytes at all", testing_support::kRegBinary, std::string(), std::nullopt},
      {"binary holding text", testing_support::kRegBinary, Utf16Bytes(u"C:\\Bin") + std::string(2, '\0'),
       u"C:\\Bin"},
      {"dword taken as text", testing_support::kRegDword, std::string("\x41\x00\x42\x00", 4), u"AB"},
      {"dword zero", testing_support::kRegDword, std::string(4, '\0'), std::nullopt},
      {"short text without NUL", testing_support::kRegBinary, Utf16Bytes(u"abc"), u"abc"},
      {"126 characters without NUL", testing_support::kRegBinary, Utf16Bytes(of126), of126},
      {"127 characters without NUL fill the limit", testing_support::kRegBinary, Utf16Bytes(of127),
       std::nullopt},
      {"255 bytes without NUL", testing_support::kRegBinary, Utf16Bytes(of127) + "c", std::nullopt},
  };
  for (const Case& c : cases) {
    registry_.SetBytes(RegistryRoot::CurrentUser, KeyOf(2), u"AppPath", c.type, c.bytes);
    const std::optional<AppFolder> folder = QueryAppPath(2);
    ASSERT_EQ(folder.has_value(), c.folder.has_value()) << c.name;
    if (folder) {
      EXPECT_EQ(folder->View(), *c.folder) << c.name;
    }
  }
}

TEST_F(EmbAppTableTest, OnlyTheCurrentUsersKeyOfTheRowCounts) {
  registry_.SetString(RegistryRoot::LocalMachine, KeyOf(1), u"AppPath", u"C:\\Machine");
  EXPECT_FALSE(QueryAppPath(1).has_value());
  registry_.CreateKey(RegistryRoot::CurrentUser, KeyOf(1));
  EXPECT_FALSE(QueryAppPath(1).has_value());  // key without the value
  registry_.SetString(RegistryRoot::CurrentUser, KeyOf(3), u"AppPath", u"C:\\Pemberly");
  EXPECT_FALSE(QueryAppPath(1).has_value());
  EXPECT_FALSE(QueryAppPath(0).has_value());
  EXPECT_FALSE(QueryAppPath(5).has_value());
  ASSERT_TRUE(QueryAppPath(3).has_value());
  EXPECT_EQ(QueryAppPath(3)->View(), u"C:\\Pemberly");
}

}  // namespace
}  // namespace tavrel::exporting
