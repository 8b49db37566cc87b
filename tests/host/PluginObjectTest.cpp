#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "host/AttachPlugin.h"
#include "host/VGAppPlugin.h"
#include "tools/host/model/FailingAllocation.h"

namespace tavrel::host {
namespace {

// The count as the host sees it, without changing it.
ULONG Count(IUnknown* object) {
  object->AddRef();
  return object->Release();
}

IVGAppPlugin* Attach() {
  IVGAppPlugin* plugin = nullptr;
  EXPECT_EQ(AttachPlugin(&plugin), 0x100);
  EXPECT_NE(plugin, nullptr);
  return plugin;
}

TEST(AttachPlugin, CreatesAnObjectWithTheInitialValues) {
  IVGAppPlugin* plugin = Attach();
  ASSERT_NE(plugin, nullptr);
  EXPECT_EQ(Count(plugin), 1u);
  auto* object = static_cast<CVGAppPlugin*>(plugin);
  EXPECT_EQ(object->Application(), nullptr);
  EXPECT_EQ(object->EventCookie(), 0);
  EXPECT_FALSE(object->SendEnabled());
  EXPECT_EQ(plugin->Release(), 0u);
}

TEST(AttachPlugin, Returns0x100AlsoWhenTheObjectCannotBeCreated) {
  IVGAppPlugin* plugin = reinterpret_cast<IVGAppPlugin*>(&plugin);
  {
    hostmodel::allocation::FailNothrowNew failing;
    EXPECT_EQ(AttachPlugin(&plugin), 0x100);
  }
  EXPECT_EQ(plugin, nullptr);
  // No address to store at: nothing is created, and the result stands.
  EXPECT_EQ(AttachPlugin(nullptr), 0x100);
}

TEST(PluginObject, SlotOrderIsThatOfThePluginInterface) {
  // The host calls through the table by position: the three IUnknown slots,
  // the four IDispatch slots, then load, start, stop, unload.
  IVGAppPlugin* plugin = Attach();
  ASSERT_NE(plugin, nullptr);
  IUnknown* asUnknown = plugin;
  IDispatch* asDispatch = plugin;
  EXPECT_EQ(static_cast<void*>(asUnknown), static_cast<void*>(plugin));
  EXPECT_EQ(static_cast<void*>(asDispatch), static_cast<void*>(plugin));
  plugin->Release();
}

struct QueryCase {
  const char* name;
  IID iid;
  HRESULT expected;
};

TEST(PluginObject, QueryInterfaceAnswersExactlyItsThreeInterfaces) {
  IID unknownButOneByte = IID_IVGAppPlugin;
  unknownButOneByte.Data4[7] ^= 1;
  IID dispatchButFirstByte = IID_IDispatch;
  dispatchButFirstByte.Data1 ^= 0x01000000;
  const std::vector<QueryCase> cases = {
      {"IUnknown", IID_IUnknown, S_OK},
      {"IDispatch", IID_IDispatch, S_OK},
      {"IVGAppPlugin", IID_IVGAppPlugin, S_OK},
      {"last byte differs", unknownButOneByte, E_NOINTERFACE},
      {"first byte differs", dispatchButFirstByte, E_NOINTERFACE},
      {"error info", IID_ISupportErrorInfo, E_NOINTERFACE},
      {"host application", IID_IHostApplication, E_NOINTERFACE},
  };
  for (const QueryCase& c : cases) {
    IVGAppPlugin* plugin = Attach();
    ASSERT_NE(plugin, nullptr);
    void* out = &out;
    EXPECT_EQ(plugin->QueryInterface(c.iid, &out), c.expected) << c.name;
    if (c.expected == S_OK) {
      EXPECT_EQ(out, static_cast<void*>(plugin)) << c.name;
      EXPECT_EQ(Count(plugin), 2u) << c.name;
      plugin->Release();
    } else {
      EXPECT_EQ(out, nullptr) << c.name;
      EXPECT_EQ(Count(plugin), 1u) << c.name;
    }
    EXPECT_EQ(plugin->Release(), 0u) << c.name;
  }
}

TEST(PluginObject, QueryInterfaceWithoutAnOutPointerLeavesTheCount) {
  IVGAppPlugin* plugin = Attach();
  ASSERT_NE(plugin, nullptr);
  EXPECT_EQ(plugin->QueryInterface(IID_IVGAppPlugin, nullptr), E_POINTER);
  EXPECT_EQ(plugin->QueryInterface(IID_ISupportErrorInfo, nullptr), E_POINTER);
  EXPECT_EQ(Count(plugin), 1u);
  EXPECT_EQ(plugin->Release(), 0u);
}

TEST(PluginObject, ThreeQueriesAndThreeReleasesLeaveOneReference) {
  IVGAppPlugin* plugin = Attach();
  ASSERT_NE(plugin, nullptr);
  void* out = nullptr;
  for (const IID* iid : {&IID_IUnknown, &IID_IDispatch, &IID_IVGAppPlugin}) {
    ASSERT_EQ(plugin->QueryInterface(*iid, &out), S_OK);
  }
  EXPECT_EQ(plugin->AddRef(), 5u);
  EXPECT_EQ(plugin->Release(), 4u);
  EXPECT_EQ(plugin->Release(), 3u);
  EXPECT_EQ(plugin->Release(), 2u);
  EXPECT_EQ(plugin->Release(), 1u);
  EXPECT_EQ(plugin->Release(), 0u);
}

TEST(PluginObject, TypeInformationIsNotOfferedAndNothingIsWritten) {
  IVGAppPlugin* plugin = Attach();
  ASSERT_NE(plugin, nullptr);
  UINT count = 77;
  EXPECT_EQ(plugin->GetTypeInfoCount(&count), E_NOTIMPL);
  EXPECT_EQ(count, 77u);
  ITypeInfo* info = reinterpret_cast<ITypeInfo*>(&count);
  EXPECT_EQ(plugin->GetTypeInfo(0, 0, &info), E_NOTIMPL);
  EXPECT_EQ(info, reinterpret_cast<ITypeInfo*>(&count));
  std::u16string name = u"Tavrel";
  LPOLESTR names[] = {reinterpret_cast<LPOLESTR>(name.data())};
  DISPID id = 42;
  EXPECT_EQ(plugin->GetIDsOfNames(GUID_NULL, names, 1, 0, &id), E_NOTIMPL);
  EXPECT_EQ(id, 42);
  EXPECT_EQ(Count(plugin), 1u);
  plugin->Release();
}

}  // namespace
}  // namespace tavrel::host
