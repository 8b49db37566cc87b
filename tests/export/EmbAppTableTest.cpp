// The application table and the lookup of an application's folder.
#include "export/EmbAppTable.h"

#include <gtest/gtest.h>

#include <iterator>

#include "platform/Text.h"
#include "tests/support/EmbroideryStandIn.h"
#include "tests/support/ScopedRegistry.h"

namespace tavrel::exporting {
namespace {

using namespace testing_support;

// An absolute folder's beginning: a drive on Windows, the root natively,
// where paths are POSIX paths spelt with backslashes.
#ifdef _WIN32
const std::u16string kRoot = u"C:\\";
#else
const std::u16string kRoot = u"\\";
#endif

std::u16string KeyOf(int index) { return text::FromAscii(AppInfo(index)->registryKey); }

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
  const std::u16string of126 = kRoot + std::u16string(126 - kRoot.size(), u'a');
  const std::u16string of127 = kRoot + std::u16string(127 - kRoot.size(), u'b');
  const std::u16string emb = kRoot + std::u16string(u"Emb");
  // Expanded, the folder would be 127 characters long.
  const ScopedEnvironmentVariable longer("TAVREL_LONG", std::filesystem::path(of127.substr(0, 120)));
  struct Case {
    const char* name;
    uint32_t type;
    std::string bytes;
    std::optional<std::u16string> folder;
  };
  const Case cases[] = {
      {"plain folder", kRegSz, Utf16Bytes(emb + u'\0'), emb},
      {"ends in a backslash", kRegSz, Utf16Bytes(emb + u"\\" + u'\0'), emb + u"\\"},
      {"quoted", kRegSz, Utf16Bytes(u"\"" + emb + u"\"" + u'\0'), std::nullopt},
      {"quoted with references", kRegExpandSz,
       Utf16Bytes(std::u16string(u"\"%ProgramFiles%\\Orin\"") + u'\0'), std::nullopt},
      {"expanded beyond 126 characters", kRegExpandSz,
       Utf16Bytes(std::u16string(u"%TAVREL_LONG%\\12345678") + u'\0'), std::nullopt},
      {"126 characters", kRegSz, Utf16Bytes(of126 + u'\0'), of126},
      {"127 characters", kRegSz, Utf16Bytes(of127 + u'\0'), std::nullopt},
      {"empty", kRegSz, std::string(2, '\0'), std::nullopt},
      {"no bytes at all", kRegSz, std::string(), std::nullopt},
      {"binary holding text", kRegBinary, Utf16Bytes(emb + u'\0'), std::nullopt},
      {"dword", kRegDword, std::string("\x41\x00\x42\x00", 4), std::nullopt},
      {"short text without NUL", kRegSz, Utf16Bytes(emb), emb},
      {"126 characters without NUL", kRegSz, Utf16Bytes(of126), of126},
      {"127 characters without NUL fill the limit", kRegSz, Utf16Bytes(of127), std::nullopt},
      {"255 bytes without NUL", kRegSz, Utf16Bytes(of127) + "c", std::nullopt},
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
  registry_.SetString(RegistryRoot::LocalMachine, KeyOf(1), u"AppPath", kRoot + u"Machine");
  EXPECT_FALSE(QueryAppPath(1).has_value());
  registry_.CreateKey(RegistryRoot::CurrentUser, KeyOf(1));
  EXPECT_FALSE(QueryAppPath(1).has_value());  // key without the value
  registry_.SetString(RegistryRoot::CurrentUser, KeyOf(3), u"AppPath", kRoot + u"Pemberly");
  EXPECT_FALSE(QueryAppPath(1).has_value());
  EXPECT_FALSE(QueryAppPath(0).has_value());
  EXPECT_FALSE(QueryAppPath(5).has_value());
  ASSERT_TRUE(QueryAppPath(3).has_value());
  EXPECT_EQ(QueryAppPath(3)->View(), kRoot + u"Pemberly");
}

}  // namespace
}  // namespace tavrel::exporting
