// Reading the registry through the platform seam: the real registry on
// Windows (the Wine prefix's), the ".reg" file natively. Both must answer
// alike.
#include "platform/Registry.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/support/ScopedRegistry.h"

namespace tavrel::platform {
namespace {

using testing_support::RegistryRoot;
using testing_support::ScopedRegistry;

constexpr std::u16string_view kKey = u"Software\\Tavrel Tests\\Registry";

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { registry_.RemoveKey(RegistryRoot::CurrentUser, u"Software\\Tavrel Tests"); }
  ScopedRegistry registry_;
};

TEST_F(RegistryTest, MissingKeyAndMissingValue) {
  RegistryKey key;
  EXPECT_EQ(key.OpenCurrentUser(kKey), kErrorFileNotFound);
  EXPECT_FALSE(key.IsOpen());
  registry_.CreateKey(RegistryRoot::CurrentUser, kKey);
  ASSERT_EQ(key.OpenCurrentUser(kKey), kErrorSuccess);
  char16_t buffer[8] = {};
  uint32_t size = sizeof(buffer);
  EXPECT_EQ(key.QueryValue(u"AppPath", buffer, &size), kErrorFileNotFound);
}

TEST_F(RegistryTest, StringComesBackWithItsNul) {
  registry_.SetString(RegistryRoot::CurrentUser, kKey, u"AppPath", u"C:\\Emb \u00e9\\");
  RegistryKey key;
  ASSERT_EQ(key.OpenCurrentUser(kKey), kErrorSuccess);
  char16_t buffer[32];
  std::memset(buffer, 0x55, sizeof(buffer));
  uint32_t size = sizeof(buffer);
  ASSERT_EQ(key.QueryValue(u"AppPath", buffer, &size), kErrorSuccess);
  EXPECT_EQ(size, 10u * 2);  // nine letters and the NUL
  EXPECT_EQ(std::u16string(buffer), u"C:\\Emb \u00e9\\");
}

TEST_F(RegistryTest, TooSmallRoomTellsTheSizeNeeded) {
  registry_.SetString(RegistryRoot::CurrentUser, kKey, u"AppPath", u"abcdef");
  RegistryKey key;
  ASSERT_EQ(key.OpenCurrentUser(kKey), kErrorSuccess);
  char buffer[14] = {};
  uint32_t size = 13;
  EXPECT_EQ(key.QueryValue(u"AppPath", buffer, &size), kErrorMoreData);
  EXPECT_EQ(size, 14u);
  size = 14;
  EXPECT_EQ(key.QueryValue(u"AppPath", buffer, &size), kErrorSuccess);
}

// Every type comes back with its bytes as stored and its type told. (The
// text ends with its NUL: 64-bit Wine adds one to a string type stored
// without it.)
TEST_F(RegistryTest, ValuesComeBackAsStoredBytesWithTheirType) {
  const std::string_view ab("\x41\x00\x42\x00\x00\x00", 6);
  const uint32_t types[] = {kRegSz, kRegExpandSz, kRegMultiSz, kRegBinary, kRegDword, kRegNone, 11};
  for (const uint32_t type : types) {
    registry_.SetBytes(RegistryRoot::CurrentUser, kKey, u"AppPath", type, ab);
    RegistryKey key;
    ASSERT_EQ(key.OpenCurrentUser(kKey), kErrorSuccess);
    char16_t buffer[4] = {};
    uint32_t size = sizeof(buffer);
    uint32_t got = 0xFFFF;
    ASSERT_EQ(key.QueryValue(u"AppPath", buffer, &size, &got), kErrorSuccess) << type;
    EXPECT_EQ(got, type);
    EXPECT_EQ(size, 6u) << type;
    EXPECT_EQ(std::u16string(buffer), u"AB") << type;
  }
}

TEST_F(RegistryTest, LocalMachineIsNotTheCurrentUser) {
  registry_.SetString(RegistryRoot::LocalMachine, u"Software\\Tavrel Tests\\Machine", u"AppPath", u"C:\\x");
  RegistryKey key;
  EXPECT_EQ(key.OpenCurrentUser(u"Software\\Tavrel Tests\\Machine"), kErrorFileNotFound);
  registry_.RemoveKey(RegistryRoot::LocalMachine, u"Software\\Tavrel Tests");
}

TEST_F(RegistryTest, MovedKeyIsOwnedOnce) {
  registry_.SetString(RegistryRoot::CurrentUser, kKey, u"AppPath", u"x");
  RegistryKey first;
  ASSERT_EQ(first.OpenCurrentUser(kKey), kErrorSuccess);
  RegistryKey second(std::move(first));
  EXPECT_FALSE(first.IsOpen());  // NOLINT(bugprone-use-after-move): moved-from state is specified
  EXPECT_TRUE(second.IsOpen());
  second.Close();
  EXPECT_FALSE(second.IsOpen());
}

}  // namespace
}  // namespace tavrel::platform
