// The IUnknown part of the COM objects the stand-ins implement (error
// information, host objects): one reference for the creator, Release deletes
// the object at zero, and QueryInterface hands out the interface Find names
// with a new reference. Not for the plug-in object, whose counting the host
// observes.
#pragma once

#include "platform/Com.h"

namespace tavrel::platform {

template <class... Interfaces>
class ComObject : public Interfaces... {
 public:
  ComObject() = default;
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = Find(riid);
    if (*object == nullptr) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override {
    Counted(+1);
    return ++refs_;
  }
  ULONG STDMETHODCALLTYPE Release() override {
    Counted(-1);
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

 protected:
  virtual ~ComObject() = default;
  // The interface `riid` names, as a pointer of that interface, or null.
  virtual void* Find(REFIID riid) = 0;
  // Sees every AddRef (+1) and Release (-1), for owners that count the
  // references others hold.
  virtual void Counted(int /*change*/) {}

 private:
  ULONG refs_ = 1;
};

}  // namespace tavrel::platform
