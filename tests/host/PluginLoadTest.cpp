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

TEST_F(PluginLoadTest, LoadWithNullStoresNullAndUnloadDoesNothing) {
  IHostApplication* app = model_.Application();
  ASSERT_EQ(plugin_->OnLoad(app), S_OK);
  const ULONG held = Count(app);
  // A null load replaces the pointer without releasing the earlier one.
  EXPECT_EQ(plugin_->OnLoad(nullptr), S_OK);
  EXPECT_EQ(plugin_->Application(), nullptr);
  EXPECT_EQ(plugin_->OnUnload(), S_OK);
  EXPECT_EQ(Count(app), held);
  app->Release();  // the reference the first load took
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
