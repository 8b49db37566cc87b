#include <gtest/gtest.h>

#include "host/AttachPlugin.h"
#include "host/VGAppPlugin.h"
#include "tools/host/model/HostModel.h"

namespace tavrel::host {
namespace {

ULONG Count(IUnknown* object) {
  object->AddRef();
  return object->Release();
}

class PluginLoadTest : public ::testing::Test {
 protected:
  PluginLoadTest() : model_({u"/host/", u"/settings", 0, false}) {
    IVGAppPlugin* plugin = nullptr;
    AttachPlugin(&plugin);
    plugin_ = static_cast<CVGAppPlugin*>(plugin);
  }
  ~PluginLoadTest() override { plugin_->Release(); }

  hostmodel::HostModel model_;
  CVGAppPlugin* plugin_ = nullptr;
};

TEST_F(PluginLoadTest, LoadHoldsTheApplicationAndUnloadReleasesIt) {
  IHostApplication* app = model_.Application();
  const ULONG before = Count(app);
  EXPECT_EQ(plugin_->OnLoad(app), S_OK);
  EXPECT_EQ(plugin_->Application(), app);
  EXPECT_EQ(Count(app), before + 1);
  EXPECT_EQ(plugin_->OnUnload(), S_OK);
  EXPECT_EQ(plugin_->Application(), nullptr);
  EXPECT_EQ(Count(app), before);
  // A second unload finds nothing to release.
  EXPECT_EQ(plugin_->OnUnload(), S_OK);
  EXPECT_EQ(Count(app), before);
  EXPECT_EQ(Count(plugin_), 1u);
  // The notifications call no host operation.
  EXPECT_TRUE(model_.Records().empty());
}

// A second load notification holds what it is given and releases what it
// replaces, whether that is nothing, the same application or another one.
TEST_F(PluginLoadTest, SecondLoadReleasesTheApplicationItReplaces) {
  hostmodel::HostModel other({u"/other/", u"/settings", 0, false});
  IHostApplication* app = model_.Application();
  IHostApplication* second = other.Application();
  struct Case {
    const char* name;
    IHostApplication* next;
  };
  const Case cases[] = {{"null", nullptr}, {"the same application", app}, {"another application", second}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ULONG before = Count(app);
    const ULONG secondBefore = Count(second);
    ASSERT_EQ(plugin_->OnLoad(app), S_OK);
    EXPECT_EQ(plugin_->OnLoad(c.next), S_OK);
    EXPECT_EQ(plugin_->Application(), c.next);
    EXPECT_EQ(Count(app), before + (c.next == app ? 1 : 0));
    EXPECT_EQ(Count(second), secondBefore + (c.next == second ? 1 : 0));
    EXPECT_EQ(plugin_->OnUnload(), S_OK);
    EXPECT_EQ(Count(app), before);
    EXPECT_EQ(Count(second), secondBefore);
  }
}

TEST_F(PluginLoadTest, SharedStateHasTheInitialValuesAndAccessorsKeepThem) {
  EXPECT_EQ(plugin_->EventCookie(), 0);
  plugin_->SetEventCookie(-7);
  EXPECT_EQ(plugin_->EventCookie(), -7);
  EXPECT_FALSE(plugin_->SendEnabled());
  plugin_->SetSendEnabled(true);
  EXPECT_TRUE(plugin_->SendEnabled());
}

}  // namespace
}  // namespace tavrel::host
