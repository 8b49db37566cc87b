// The common part of every stand-in host object: counted references,
// QueryInterface for IUnknown, IDispatch, its own interface and
// ISupportErrorInfo (answered for its own interface), and an IDispatch that
// offers nothing (the plug-in calls the interfaces directly).
#pragma once

#include <memory>
#include <nlohmann/json.hpp>

#include "host/HostApi.h"
#include "platform/ComObject.h"
#include "tools/host/model/AllocationGate.h"
#include "tools/host/model/HostState.h"

namespace tavrel::hostmodel {

// The name of a host interface, as the reference count reports it.
const char* InterfaceName(REFIID iid);

template <class Interface>
class HostObject : public platform::ComObject<Interface, ISupportErrorInfo> {
 public:
  // Every reference is counted in the shared state under the interface's
  // name, the creator's one included.
  explicit HostObject(std::shared_ptr<HostState> state) : state_(std::move(state)) { Counted(+1); }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return DISP_E_MEMBERNOTFOUND;
  }
  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID riid) override {
    return riid == host::InterfaceId<Interface>() ? S_OK : S_FALSE;
  }

 protected:
  void* Find(REFIID riid) override {
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == host::InterfaceId<Interface>())
      return static_cast<Interface*>(this);
    if (riid == IID_ISupportErrorInfo) return static_cast<ISupportErrorInfo*>(this);
    return nullptr;
  }
  void Counted(int change) override {
    const allocation::HostWorks host;
    state_->references[InterfaceName(host::InterfaceId<Interface>())] += change;
  }

  HostState& State() const { return *state_; }
  const std::shared_ptr<HostState>& SharedState() const { return state_; }

  // A host operation returning a value through `out`: a null out pointer is
  // E_POINTER; otherwise `body` computes the value and the record's result.
  template <class T, class Body>
  HRESULT Get(const std::string& operation, nlohmann::json arguments, T* out, Body body) {
    if (out == nullptr) {
      return State().Call(operation, std::move(arguments), [](nlohmann::json&, std::u16string& error) {
        error = u"The result pointer is null.";
        return E_POINTER;
      });
    }
    *out = T{};
    return State().Call(operation, std::move(arguments), [&](nlohmann::json& result, std::u16string& error) {
      const HRESULT hr = body(*out, result, error);
      if (SUCCEEDED(hr) && State().substitute != nullptr) Substitute(*out, result, State().substitute->way);
      return hr;
    });
  }

 private:
  // An injected string or handle in place of the value the body gave; any
  // other result stays.
  static void Substitute(BSTR& out, nlohmann::json& result, Way way) {
    SysFreeString(out);
    const std::u16string text = SubstituteString(way);
    out = platform::AllocBstr(text);
    result = Utf8(text);
  }
  static void Substitute(intptr_t& out, nlohmann::json& result, Way way) {
    if (way != Way::BadHandle) return;
    out = kNoWindow;
    result = "no-window";
  }
  template <class T>
  static void Substitute(T&, nlohmann::json&, Way) {}

  std::shared_ptr<HostState> state_;
};

// New host objects, each with one reference the caller owns.
host::IHostApplication* NewApplication(std::shared_ptr<HostState> state);
host::IHostDocuments* NewDocuments(std::shared_ptr<HostState> state);
host::IHostDocument* NewDocument(std::shared_ptr<HostState> state, int serial);
host::IHostPage* NewPage(std::shared_ptr<HostState> state, int serial);
// The shapes of a document's page, or of the selection on it.
host::IHostShapes* NewShapes(std::shared_ptr<HostState> state, int serial, bool selectedOnly);
host::IHostSelection* NewSelection(std::shared_ptr<HostState> state);
host::IHostWindow* NewWindow(std::shared_ptr<HostState> state);
host::IHostCommandBars* NewCommandBars(std::shared_ptr<HostState> state);
host::IHostCommandBar* NewCommandBar(std::shared_ptr<HostState> state, std::u16string name);
host::IHostControls* NewControls(std::shared_ptr<HostState> state, std::u16string bar);
host::IHostControl* NewControl(std::shared_ptr<HostState> state, int serial);

}  // namespace tavrel::hostmodel
