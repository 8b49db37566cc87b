// The lookup closes every key it opens, exactly once, and opens none for an
// index outside the table.
#include <gtest/gtest.h>

#include "export/EmbAppTable.h"
#include "platform/posix/StandIn.h"
#include "tests/support/ScopedRegistry.h"

namespace tavrel::exporting {
namespace {

using testing_support::RegistryRoot;

TEST(RegistryKeyUse, EveryOpenedKeyIsClosedOnce) {
  testing_support::ScopedRegistry registry;
  registry.SetString(RegistryRoot::CurrentUser, u"Software\\Merovan\\Orin 3.0", u"AppPath", u"/opt/Orin");
  registry.SetString(RegistryRoot::CurrentUser, u"Software\\Ostrana\\Ostrana Kyro", u"AppPath",
                     std::u16string(200, u'k'));
  registry.CreateKey(RegistryRoot::CurrentUser, u"Software\\Merovan\\Pemberly 2.0");
  struct Case {
    int32_t index;
    bool found;
    long opened;
  };
  const Case cases[] = {{1, true, 1},  {2, false, 1}, {3, false, 1},
                        {4, false, 0}, {0, false, 0}, {5, false, 0}};
  for (const Case& c : cases) {
    platform::standin::ResetRegistryCounts();
    EXPECT_EQ(QueryAppPath(c.index).has_value(), c.found) << c.index;
    EXPECT_EQ(platform::standin::GetRegistryCounts().opened, c.opened) << c.index;
    EXPECT_EQ(platform::standin::GetRegistryCounts().closed, c.opened) << c.index;
  }
}

}  // namespace
}  // namespace tavrel::exporting
