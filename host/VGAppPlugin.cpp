#include "host/VGAppPlugin.h"

#include <utility>

#include "host/Activation.h"
#include "host/ComPtr.h"
#include "host/EventDispatch.h"

namespace tavrel::host {

namespace {
// The reference an entry point holds on its own object while it runs.
ComPtr<CVGAppPlugin> HoldSelf(CVGAppPlugin* self) { return ComPtr<CVGAppPlugin>::Share(self); }
}  // namespace

CVGAppPlugin::~CVGAppPlugin() {
  try {
    if (application_ != nullptr) std::exchange(application_, nullptr)->Release();
  } catch (...) {
  }
}

HRESULT STDMETHODCALLTYPE CVGAppPlugin::QueryInterface(REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  // Counted first, compared second, given back on a mismatch: hosts have
  // always seen this object count in this order, and nothing runs between
  // the steps (one thread, no call out), so the outcome is the usual one:
  // one new reference on a match, the count unchanged on a mismatch.
  ++referenceCount_;
  if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IVGAppPlugin) {
    *object = static_cast<IVGAppPlugin*>(this);
    return S_OK;
  }
  --referenceCount_;
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE CVGAppPlugin::AddRef() { return static_cast<ULONG>(++referenceCount_); }

ULONG STDMETHODCALLTYPE CVGAppPlugin::Release() {
  const std::int32_t left = --referenceCount_;
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

HRESULT STDMETHODCALLTYPE CVGAppPlugin::GetTypeInfoCount(UINT* /*count*/) { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE CVGAppPlugin::GetTypeInfo(UINT /*index*/, LCID /*lcid*/, ITypeInfo** /*info*/) {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CVGAppPlugin::GetIDsOfNames(REFIID /*riid*/, LPOLESTR* /*names*/, UINT /*count*/,
                                                      LCID /*lcid*/, DISPID* /*ids*/) {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CVGAppPlugin::Invoke(DISPID id, REFIID /*riid*/, LCID /*lcid*/, WORD /*flags*/,
                                               DISPPARAMS* params, VARIANT* /*result*/,
                                               EXCEPINFO* /*exception*/, UINT* /*argError*/) {
  const auto self = HoldSelf(this);
  DispatchEvent(*this, id, params);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CVGAppPlugin::OnLoad(IHostApplication* application) {
  const auto self = HoldSelf(this);
  // A second load notification replaces the application held: the new one
  // is referenced before the old one is released (they may be the same
  // object), so the old reference is not leaked.
  // A subscription made with the application replaced is ended with it:
  // afterwards nothing could reach it.
  if (application != application_) EndSubscription(*this);
  IHostApplication* previous = application_;
  application_ = application;
  // A host object that throws must not take the host down with it.
  try {
    if (application != nullptr) application->AddRef();
  } catch (...) {
  }
  try {
    if (previous != nullptr) previous->Release();
  } catch (...) {
  }
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CVGAppPlugin::StartSession() {
  const auto self = HoldSelf(this);
  Activate(*this);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CVGAppPlugin::StopSession() {
  const auto self = HoldSelf(this);
  Deactivate(*this);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CVGAppPlugin::OnUnload() {
  const auto self = HoldSelf(this);
  // A subscription still in force is ended first: no event reaches the
  // plug-in after it was unloaded, and the host lets go of its reference.
  EndSubscription(*this);
  IHostApplication* held = application_;
  application_ = nullptr;
  try {
    if (held != nullptr) held->Release();
  } catch (...) {
  }
  return S_OK;
}

}  // namespace tavrel::host
