// The native registry's own duties: it reads its file afresh at each open,
// and it counts opened and closed keys for the tests of their callers.
#include <gtest/gtest.h>

#include "platform/Registry.h"
#include "platform/posix/StandIn.h"
#include "tests/support/ScopedRegistry.h"

namespace tavrel::platform {
namespace {

using testing_support::RegistryRoot;

TEST(StandInRegistry, CountsEveryOpenAndClose) {
  testing_support::ScopedRegistry registry;
  registry.SetString(RegistryRoot::CurrentUser, u"Software\\A", u"V", u"1");
  standin::ResetRegistryCounts();
  {
    RegistryKey key;
    EXPECT_EQ(key.OpenCurrentUser(u"Software\\A"), kErrorSuccess);
    EXPECT_EQ(key.OpenCurrentUser(u"Software\\A"), kErrorSuccess);  // closes the first
    EXPECT_EQ(key.OpenCurrentUser(u"Software\\Missing"), kErrorFileNotFound);
    RegistryKey moved = std::move(key);
  }
  EXPECT_EQ(standin::GetRegistryCounts().opened, 2);
  EXPECT_EQ(standin::GetRegistryCounts().closed, 2);
}

TEST(StandInRegistry, SeesChangesAtTheNextOpen) {
  testing_support::ScopedRegistry registry;
  RegistryKey key;
  EXPECT_EQ(key.OpenCurrentUser(u"Software\\Late"), kErrorFileNotFound);
  registry.SetString(RegistryRoot::CurrentUser, u"Software\\Late", u"V", u"1");
  EXPECT_EQ(key.OpenCurrentUser(u"Software\\Late"), kErrorSuccess);
}

}  // namespace
}  // namespace tavrel::platform
