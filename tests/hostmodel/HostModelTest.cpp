#include "tools/host/model/HostModel.h"

#include <gtest/gtest.h>

#include <map>
#include <new>
#include <string>
#include <vector>

#include "host/Bstr.h"
#include "host/ComPtr.h"
#include "host/HostError.h"
#include "platform/Com.h"
#include "tests/support/TempDir.h"
#include "tools/emf/EmfCheck.h"
#include "tools/host/model/VariantText.h"

namespace tavrel::hostmodel {
namespace {

using host::Bstr;
using host::ComPtr;
using nlohmann::json;

const std::filesystem::path kFlower =
    std::filesystem::path(TAVREL_SOURCE_DIR) / "tools/host/samples/flower.svg";

class HostModelTest : public ::testing::Test {
 protected:
  HostModelTest() : model_({dir_.Path(u"host\\"), dir_.Path(u"settings"), 0, true}) {}
  host::IHostApplication* App() { return model_.Application(); }
  const json& Last() { return model_.Records().back(); }

  // Exports the active document and returns the call's result.
  HRESULT Export(const std::u16string& path, LONG filter, LONG range, LONG* status) {
    ComPtr<host::IHostDocument> document;
    EXPECT_EQ(App()->get_ActiveDocument(document.Put()), S_OK);
    return document->ExportToFile(Bstr(path).Get(), filter, range, 0, 0, status);
  }

  testing_support::TempDir dir_;
  HostModel model_;
};

TEST_F(HostModelTest, RecordsEveryOperationWithArgumentsAndResult) {
  BSTR folder = nullptr;
  ASSERT_EQ(App()->get_HostFolder(&folder), S_OK);
  EXPECT_EQ(platform::BstrView(folder), dir_.Path(u"host\\"));
  SysFreeString(folder);
  VARIANT_BOOL added = 0;
  ASSERT_EQ(App()->AddPluginCommand(Bstr(u"Tavrel").Get(), Bstr(u"To Embroidery").Get(), Bstr(u"tip").Get(),
                                    &added),
            S_OK);
  EXPECT_EQ(added, VARIANT_TRUE);
  ASSERT_EQ(model_.Records().size(), 2u);
  EXPECT_EQ(model_.Records()[0]["op"], "Application.HostFolder");
  EXPECT_EQ(Last(), (json{{"kind", "call"},
                          {"op", "Application.AddPluginCommand"},
                          {"args", {"Tavrel", "To Embroidery", "tip"}},
                          {"hr", "0x00000000"},
                          {"result", -1}}));
  ASSERT_EQ(model_.Commands().size(), 1u);
  EXPECT_EQ(model_.Commands()[0].caption, u"To Embroidery");
}

TEST_F(HostModelTest, AnsweringCountsFollowTheDrawingAndSelection) {
  auto count = [&](bool selection) {
    LONG n = -1;
    ComPtr<host::IHostShapes> shapes;
    if (selection) {
      ComPtr<host::IHostSelection> s;
      EXPECT_EQ(App()->get_Selection(s.Put()), S_OK);
      EXPECT_EQ(s->get_Shapes(shapes.Put()), S_OK);
    } else {
      ComPtr<host::IHostPage> page;
      EXPECT_EQ(App()->get_ActivePage(page.Put()), S_OK);
      if (!page) return -1;
      EXPECT_EQ(page->get_Shapes(shapes.Put()), S_OK);
    }
    EXPECT_EQ(shapes->get_Count(&n), S_OK);
    return static_cast<int>(n);
  };
  EXPECT_EQ(count(false), -1);  // no document: no active page
  EXPECT_EQ(count(true), 0);
  model_.OpenDrawing(kFlower);
  EXPECT_EQ(count(false), 11);
  model_.SelectById({"leaf", "centre"});
  EXPECT_EQ(count(true), 2);
  model_.SelectByIndex({0});
  EXPECT_EQ(count(true), 1);
  EXPECT_THROW(model_.SelectById({"nothing"}), std::invalid_argument);
  EXPECT_THROW(model_.SelectByIndex({11}), std::invalid_argument);
  model_.SelectNone();
  EXPECT_EQ(count(true), 0);
  ComPtr<host::IHostDocuments> documents;
  LONG open = 0;
  ASSERT_EQ(App()->get_Documents(documents.Put()), S_OK);
  ASSERT_EQ(documents->get_Count(&open), S_OK);
  EXPECT_EQ(open, 1);
  EXPECT_TRUE(model_.CloseDrawing());
  ASSERT_EQ(documents->get_Count(&open), S_OK);
  EXPECT_EQ(open, 0);
  EXPECT_FALSE(model_.CloseDrawing());
}

TEST_F(HostModelTest, InjectedFailuresStartAtTheNthCallAndCarryTheirDescription) {
  model_.FailFrom("Application.SettingsFolder", 2, static_cast<HRESULT>(0x80040154), u"Kein Ordner");
  Bstr folder;
  EXPECT_EQ(App()->get_SettingsFolder(folder.Put()), S_OK);
  for (int call = 2; call <= 3; ++call) {
    const HRESULT hr = App()->get_SettingsFolder(folder.Put());
    EXPECT_EQ(hr, static_cast<HRESULT>(0x80040154));
    try {
      host::Check(hr, App());
      ADD_FAILURE() << "no exception";
    } catch (const _com_error& e) {
      EXPECT_EQ(platform::ErrorCode(e), static_cast<HRESULT>(0x80040154));
      EXPECT_EQ(platform::ErrorDescription(e), u"Kein Ordner");
    }
    EXPECT_EQ(Last()["error"], "Kein Ordner");
    EXPECT_EQ(Last()["hr"], "0x80040154");
  }
  EXPECT_EQ(model_.CallCount("Application.SettingsFolder"), 3);
}

struct FailingCall {
  const char* name;
  std::function<HRESULT(host::IHostApplication*)> call;
  HRESULT expected;
  const char* descriptionPart;
};

TEST_F(HostModelTest, EmptyResultsThrowsAndExportOutcomesAreInjected) {
  model_.OpenDrawing(kFlower);
  model_.EmptyFrom("Application.Selection", 2);
  ComPtr<host::IHostSelection> selection;
  EXPECT_EQ(App()->get_Selection(selection.Put()), S_OK);
  EXPECT_TRUE(selection);
  EXPECT_EQ(App()->get_Selection(selection.Put()), S_OK);
  EXPECT_FALSE(selection) << "the second call answers a null object";
  EXPECT_EQ(Last()["result"], nullptr);

  model_.ThrowFrom("Documents.Count", 1);
  ComPtr<host::IHostDocuments> documents;
  ASSERT_EQ(App()->get_Documents(documents.Put()), S_OK);
  LONG count = -1;
  EXPECT_THROW(documents->get_Count(&count), std::bad_alloc);
  EXPECT_EQ(Last()["op"], "Documents.Count");

  model_.SetExportOutcome(5, false);
  LONG status = 0;
  EXPECT_EQ(Export(dir_.Path(u"a.emf"), 1300, 1, &status), S_OK);
  EXPECT_EQ(status, 5);
  EXPECT_FALSE(std::filesystem::exists(dir_.Native(u"a.emf")));
  model_.SetExportOutcome(0, true);
  EXPECT_EQ(Export(dir_.Path(u"a.emf"), 1300, 1, &status), S_OK);
  EXPECT_EQ(status, 0);
  EXPECT_TRUE(emf::CheckEmfFile(dir_.Native(u"a.emf")).wellFormed);
}

TEST_F(HostModelTest, CountsTheReferencesOthersHoldByInterface) {
  using References = std::map<std::string, long>;
  model_.OpenDrawing(kFlower);
  EXPECT_EQ(model_.OutstandingReferences(), References{});
  {
    auto app = ComPtr<host::IHostApplication>::Share(App());
    ComPtr<host::IHostDocument> document;
    ASSERT_EQ(App()->get_ActiveDocument(document.Put()), S_OK);
    IUnknown* unknown = nullptr;
    ASSERT_EQ(document->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
    ComPtr<host::IHostPage> page;
    ASSERT_EQ(App()->get_ActivePage(page.Put()), S_OK);
    EXPECT_EQ(model_.OutstandingReferences(),
              (References{{"IHostApplication", 1}, {"IHostDocument", 2}, {"IHostPage", 1}}));
    unknown->Release();
    EXPECT_EQ(model_.OutstandingReferences(),
              (References{{"IHostApplication", 1}, {"IHostDocument", 1}, {"IHostPage", 1}}));
  }
  EXPECT_EQ(model_.OutstandingReferences(), References{});
  EXPECT_EQ(model_.CalledOperations(),
            (std::vector<std::string>{"Application.ActiveDocument", "Application.ActivePage"}));
}

TEST_F(HostModelTest, RefusesWhatARealHostRefuses) {
  const std::vector<FailingCall> cases = {
      {"unknown cookie", [](host::IHostApplication* a) { return a->UnadviseEvents(0); },
       static_cast<HRESULT>(0x80040200), "cookie 0"},
      {"null sink",
       [](host::IHostApplication* a) {
         LONG cookie = 0;
         return a->AdviseEvents(nullptr, &cookie);
       },
       E_POINTER, "null"},
      {"null out pointer", [](host::IHostApplication* a) { return a->get_Documents(nullptr); }, E_POINTER,
       "null"},
      {"bar by number",
       [](host::IHostApplication* a) {
         ComPtr<host::IHostCommandBars> bars;
         a->get_CommandBars(bars.Put());
         VARIANT index;
         VariantInit(&index);
         index.vt = VT_I4;
         ComPtr<host::IHostCommandBar> bar;
         return bars->get_Item(index, bar.Put());
       },
       DISP_E_TYPEMISMATCH, "string"},
      {"missing icon",
       [](host::IHostApplication* a) {
         ComPtr<host::IHostCommandBars> bars;
         a->get_CommandBars(bars.Put());
         VARIANT index;
         VariantInit(&index);
         index.vt = VT_BSTR;
         index.bstrVal = platform::AllocBstr(u"Standard");
         ComPtr<host::IHostCommandBar> bar;
         ComPtr<host::IHostControls> controls;
         ComPtr<host::IHostControl> button;
         bars->get_Item(index, bar.Put());
         VariantClear(&index);
         bar->get_Controls(controls.Put());
         controls->AddCommandButton(Bstr(u"id").Get(), Bstr(u"Tavrel").Get(), 0, VARIANT_TRUE, button.Put());
         return button->SetIconFromFile(Bstr(u"/nonexistent\\Tavrel.bmp").Get());
       },
       static_cast<HRESULT>(0x80070002), "does not exist"},
  };
  for (const FailingCall& c : cases) {
    EXPECT_EQ(c.call(App()), c.expected) << c.name;
    EXPECT_NE(Last()["error"].get<std::string>().find(c.descriptionPart), std::string::npos) << c.name;
    IErrorInfo* info = nullptr;
    ASSERT_EQ(GetErrorInfo(0, &info), S_OK) << c.name;
    info->Release();
  }
}

TEST_F(HostModelTest, ExportsThePageAsAWellFormedMetafile) {
  model_.OpenDrawing(kFlower);
  std::filesystem::create_directories(dir_.Native(u"App\\Images"));
  const std::u16string path = dir_.Path(u"App\\Images\\host_export.emf");
  LONG status = -1;
  ASSERT_EQ(Export(path, 1300, 1, &status), S_OK) << Last().dump();
  EXPECT_EQ(status, 0);
  const emf::EmfReport report = emf::CheckEmfFile(dir_.Native(u"App\\Images\\host_export.emf"));
  ASSERT_TRUE(report.wellFormed) << report.error;
  // The ink: the frame rectangle (5 to 195 by 5 to 145) with its outline 2
  // wide, at 96 units per inch, in 0.01 mm.
  EXPECT_NEAR(report.frame.left, 4 * 2540.0 / 96, 1);
  EXPECT_NEAR(report.frame.top, 4 * 2540.0 / 96, 1);
  EXPECT_NEAR(report.frame.right, 196 * 2540.0 / 96, 1);
  EXPECT_NEAR(report.frame.bottom, 146 * 2540.0 / 96, 1);
  EXPECT_GT(report.bounds.right, report.bounds.left);
  EXPECT_EQ(report.Count(emf::kEllipse), 3u);
  EXPECT_EQ(report.Count(emf::kPolygon) + report.Count(emf::kPolygon16), 2u);
  EXPECT_EQ(report.Count(emf::kPolyline) + report.Count(emf::kPolyline16), 2u);
  EXPECT_GE(report.Count(emf::kPolyBezierTo) + report.Count(emf::kPolyBezierTo16),
            3u);  // one per run of curves
  EXPECT_EQ(report.Count(emf::kStrokeAndFillPath), 4u);
  EXPECT_EQ(report.drawingRecords, 11u);
}

TEST_F(HostModelTest, ExportsOnlyTheSelectionWithRange2) {
  model_.OpenDrawing(kFlower);
  LONG status = -1;
  EXPECT_EQ(Export(dir_.Path(u"sel.emf"), 1300, 2, &status), E_FAIL);  // nothing selected
  model_.SelectById({"centre", "petal-w"});
  ASSERT_EQ(Export(dir_.Path(u"sel.emf"), 1300, 2, &status), S_OK);
  const emf::EmfReport report = emf::CheckEmfFile(dir_.Native(u"sel.emf"));
  ASSERT_TRUE(report.wellFormed) << report.error;
  EXPECT_EQ(report.drawingRecords, 2u);
  EXPECT_EQ(report.Count(emf::kEllipse), 1u);
  // The frame is the selected shapes' ink: the centre (radius 12 at 100, 60)
  // and the west petal (reaching x = 56), outlines 1 wide.
  EXPECT_NEAR(report.frame.left, 55.5 * 2540.0 / 96, 1);
  EXPECT_NEAR(report.frame.top, 47.5 * 2540.0 / 96, 1);
  EXPECT_NEAR(report.frame.right, 112.5 * 2540.0 / 96, 1);
  EXPECT_NEAR(report.frame.bottom, 72.5 * 2540.0 / 96, 1);
}

TEST_F(HostModelTest, ExportFailsLikeARealHost) {
  model_.OpenDrawing(kFlower);
  struct Case {
    std::u16string path;
    LONG filter;
    LONG range;
    HRESULT expected;
    const char* descriptionPart;
  };
  const std::vector<Case> cases = {
      {dir_.Path(u"a.emf"), 1301, 1, E_INVALIDARG, "filter 1301"},
      {dir_.Path(u"a.emf"), 1300, 3, E_INVALIDARG, "range 3"},
      {dir_.Path(u"missing\\a.emf"), 1300, 1, static_cast<HRESULT>(0x80070003), "folder does not exist"},
      {u"", 1300, 1, E_INVALIDARG, "empty"},
  };
  for (const Case& c : cases) {
    LONG status = -1;
    EXPECT_EQ(Export(c.path, c.filter, c.range, &status), c.expected) << c.descriptionPart;
    EXPECT_NE(Last()["error"].get<std::string>().find(c.descriptionPart), std::string::npos) << Last().dump();
  }
  EXPECT_FALSE(std::filesystem::exists(dir_.Native(u"a.emf")));
}

// An event sink that keeps the argument block it was given.
class RecordingSink final : public IDispatch {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    lastId = id;
    blockGiven = params != nullptr;
    block.clear();
    if (params != nullptr) block.assign(params->rgvarg, params->rgvarg + params->cArgs);
    return S_OK;
  }
  ULONG refs = 1;
  DISPID lastId = 0;
  bool blockGiven = false;
  std::vector<VARIANT> block;
};

TEST_F(HostModelTest, EventsReachTheSubscribedSinkWithArgumentsInReverseOrder) {
  RecordingSink sink;
  LONG cookie = 0;
  ASSERT_EQ(App()->AdviseEvents(&sink, &cookie), S_OK);
  VariantList arguments;
  arguments.Add("bstr:Tavrel");
  arguments.Add("byref-bool:0");
  arguments.Add("i4:7");
  RecordingSink fallback;
  const auto delivery = model_.SendEvent(21, arguments.Items(), false, &fallback);
  EXPECT_EQ(delivery.receivers, 1);
  EXPECT_EQ(sink.lastId, 21);
  EXPECT_EQ(fallback.lastId, 0);  // only used while nothing is subscribed
  ASSERT_EQ(sink.block.size(), 3u);
  EXPECT_EQ(VariantToText(sink.block[2]), "bstr:Tavrel");  // the first argument is the last element
  EXPECT_EQ(VariantToText(sink.block[0]), "i4:7");
  *sink.block[1].pboolVal = -1;  // the reference reaches the caller's variable
  EXPECT_EQ(VariantToText(arguments[1]), "byref-bool:-1");
  model_.SendEvent(20, {}, true, nullptr);
  EXPECT_FALSE(sink.blockGiven);
  ASSERT_EQ(App()->UnadviseEvents(cookie), S_OK);
  EXPECT_EQ(sink.refs, 1u);
  model_.SendEvent(17, {}, false, &fallback);
  EXPECT_EQ(fallback.lastId, 17);
}

}  // namespace
}  // namespace tavrel::hostmodel
