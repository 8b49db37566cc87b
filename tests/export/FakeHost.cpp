#include "tests/export/FakeHost.h"

#include <cstring>
#include <new>
#include <utility>

#include "host/ComPtr.h"
#include "platform/File.h"

namespace tavrel::testing_support {

struct FakeHost::State {
  FakeHostSetup setup;
  std::vector<std::string> calls;
  std::vector<FakeExport> exports;
  long references = 0;
  host::IHostApplication* application = nullptr;

  // Records the call; a failure set up for it is returned with its
  // description handed to the thread, as a host does.
  HRESULT Enter(const char* name) {
    calls.emplace_back(name);
    if (setup.failing != name) return S_OK;
    return Fail(setup.failure, setup.description);
  }

  // Hands the description to the thread (which takes its own reference).
  static HRESULT Fail(HRESULT hr, std::u16string_view description) {
    const auto info = host::ComPtr<IErrorInfo>::Adopt(platform::MakeErrorInfo(description));
    SetErrorInfo(0, info.Get());
    return hr;
  }
};

namespace {

using State = FakeHost::State;

// IDispatch and error-information support shared by every fake object.
template <class Interface>
class FakeObject : public Interface, public ISupportErrorInfo {
 public:
  explicit FakeObject(State* state) : state_(state) {}
  virtual ~FakeObject() = default;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == host::InterfaceId<Interface>()) {
      *object = static_cast<Interface*>(this);
    } else if (riid == IID_ISupportErrorInfo) {
      *object = static_cast<ISupportErrorInfo*>(this);
    } else {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override {
    ++state_->references;
    return static_cast<ULONG>(++count_);
  }
  ULONG STDMETHODCALLTYPE Release() override {
    --state_->references;
    const long left = --count_;
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID riid) override {
    return riid == host::InterfaceId<Interface>() ? S_OK : S_FALSE;
  }

 protected:
  // A new object handed out through an out argument, its reference counted.
  template <class T, class I, class... Args>
  static HRESULT HandOut(State* state, I** out, Args&&... args) {
    T* object = new T(state, std::forward<Args>(args)...);
    object->AddRef();
    *out = object;
    return S_OK;
  }
  State* state_;

 private:
  long count_ = 0;
};

class Shapes final : public FakeObject<host::IHostShapes> {
 public:
  Shapes(State* state, LONG count, const char* name) : FakeObject(state), count_(count), name_(name) {}
  HRESULT STDMETHODCALLTYPE get_Count(LONG* count) override {
    if (const HRESULT hr = state_->Enter(name_); FAILED(hr)) return hr;
    *count = count_;
    return S_OK;
  }

 private:
  LONG count_;
  const char* name_;
};

class Documents final : public FakeObject<host::IHostDocuments> {
 public:
  using FakeObject::FakeObject;
  HRESULT STDMETHODCALLTYPE get_Count(LONG* count) override {
    if (const HRESULT hr = state_->Enter("Documents.Count"); FAILED(hr)) return hr;
    *count = state_->setup.documentCount;
    return S_OK;
  }
};

class Selection final : public FakeObject<host::IHostSelection> {
 public:
  using FakeObject::FakeObject;
  HRESULT STDMETHODCALLTYPE get_Shapes(host::IHostShapes** shapes) override {
    if (const HRESULT hr = state_->Enter("Selection.Shapes"); FAILED(hr)) return hr;
    return HandOut<Shapes>(state_, shapes, state_->setup.selectedShapes, "Selection.Shapes.Count");
  }
};

void PutU32(std::string* out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out->push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// A minimal enhanced metafile: header, one rectangle per shape, end record.
std::string MinimalEmf(LONG shapes) {
  const uint32_t count = static_cast<uint32_t>(shapes);
  const uint32_t bytes = 88 + 24 * count + 20;
  std::string out;
  PutU32(&out, 1);  // header
  PutU32(&out, 88);
  for (uint32_t v : {0u, 0u, 10u * count + 9, 9u}) PutU32(&out, v);  // bounds
  for (uint32_t v : {0u, 0u, 1000u, 1000u}) PutU32(&out, v);         // frame
  PutU32(&out, 0x464D4520);                                          // " EMF"
  PutU32(&out, 0x10000);
  PutU32(&out, bytes);
  PutU32(&out, count + 2);
  PutU32(&out, 1);  // handles, reserved
  for (uint32_t v : {0u, 0u, 0u, 1000u, 1000u, 100u, 100u}) PutU32(&out, v);
  for (uint32_t i = 0; i < count; ++i) {
    PutU32(&out, 43);  // rectangle
    PutU32(&out, 24);
    for (uint32_t v : {10 * i, 0u, 10 * i + 9, 9u}) PutU32(&out, v);
  }
  PutU32(&out, 14);  // end of file
  PutU32(&out, 20);
  for (uint32_t v : {0u, 16u, 20u}) PutU32(&out, v);
  return out;
}

class Document final : public FakeObject<host::IHostDocument> {
 public:
  using FakeObject::FakeObject;
  HRESULT STDMETHODCALLTYPE ExportToFile(BSTR path, LONG filter, LONG range, LONG reserved1, LONG reserved2,
                                         LONG* status) override {
    if (const HRESULT hr = state_->Enter("Document.ExportToFile"); FAILED(hr)) return hr;
    if (state_->setup.failing == "throw") throw std::bad_alloc();
    const std::u16string file(platform::BstrView(path));
    state_->exports.push_back(FakeExport{file, filter, range, reserved1, reserved2});
    *status = state_->setup.exportStatus;
    if (!state_->setup.writeFile) return S_OK;
    platform::File out = platform::File::Open(file, platform::FileAccess::ReadWrite, platform::kShareNone,
                                              platform::FileDisposition::CreateAlways);
    const std::string emf =
        MinimalEmf(range == host::kRangeSelection ? state_->setup.selectedShapes : state_->setup.pageShapes);
    uint32_t done = 0;
    if (!out || !out.Write(emf.data(), static_cast<uint32_t>(emf.size()), &done)) {
      return State::Fail(E_ACCESSDENIED, u"The file could not be written.");
    }
    return S_OK;
  }
};

class FakeApplication final : public FakeObject<host::IHostApplication> {
 public:
  using FakeObject::FakeObject;
  HRESULT STDMETHODCALLTYPE get_Documents(host::IHostDocuments** documents) override {
    if (const HRESULT hr = state_->Enter("Documents"); FAILED(hr)) return hr;
    return HandOut<Documents>(state_, documents);
  }
  HRESULT STDMETHODCALLTYPE get_ActiveDocument(host::IHostDocument** document) override {
    if (const HRESULT hr = state_->Enter("ActiveDocument"); FAILED(hr)) return hr;
    if (state_->setup.noActiveDocument) {
      *document = nullptr;
      return S_OK;
    }
    return HandOut<Document>(state_, document);
  }
  HRESULT STDMETHODCALLTYPE get_Selection(host::IHostSelection** selection) override {
    if (const HRESULT hr = state_->Enter("Selection"); FAILED(hr)) return hr;
    if (state_->setup.noSelection) {
      *selection = nullptr;
      return S_OK;
    }
    return HandOut<Selection>(state_, selection);
  }
  // The rest is not used by the send command.
  HRESULT STDMETHODCALLTYPE get_ActivePage(host::IHostPage**) override { return Unused("ActivePage"); }
  HRESULT STDMETHODCALLTYPE get_MainWindow(host::IHostWindow**) override { return Unused("MainWindow"); }
  HRESULT STDMETHODCALLTYPE get_HostFolder(BSTR*) override { return Unused("HostFolder"); }
  HRESULT STDMETHODCALLTYPE get_SettingsFolder(BSTR*) override { return Unused("SettingsFolder"); }
  HRESULT STDMETHODCALLTYPE AddPluginCommand(BSTR, BSTR, BSTR, VARIANT_BOOL*) override {
    return Unused("AddPluginCommand");
  }
  HRESULT STDMETHODCALLTYPE RemovePluginCommand(BSTR, VARIANT_BOOL*) override {
    return Unused("RemovePluginCommand");
  }
  HRESULT STDMETHODCALLTYPE AdviseEvents(IDispatch*, LONG*) override { return Unused("AdviseEvents"); }
  HRESULT STDMETHODCALLTYPE UnadviseEvents(LONG) override { return Unused("UnadviseEvents"); }
  HRESULT STDMETHODCALLTYPE get_CommandBars(host::IHostCommandBars**) override {
    return Unused("CommandBars");
  }

 private:
  HRESULT Unused(const char* name) {
    state_->calls.emplace_back(name);
    return E_NOTIMPL;
  }
};

}  // namespace

FakeHost::FakeHost(FakeHostSetup setup) : state_(std::make_unique<State>()) {
  state_->setup = std::move(setup);
  state_->application = new FakeApplication(state_.get());
  state_->application->AddRef();
  state_->references = 0;  // the host's own reference is not counted
}

FakeHost::~FakeHost() { state_->application->Release(); }

host::IHostApplication* FakeHost::Application() const { return state_->application; }
const std::vector<std::string>& FakeHost::Calls() const { return state_->calls; }
const std::vector<FakeExport>& FakeHost::Exports() const { return state_->exports; }
long FakeHost::OutstandingReferences() const { return state_->references; }

}  // namespace tavrel::testing_support
