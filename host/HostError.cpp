#include "host/HostError.h"

#include "host/ComPtr.h"

namespace tavrel::host {

void RaiseHostError(HRESULT hr, IUnknown* object, REFIID iid) {
  IErrorInfo* info = nullptr;
  ComPtr<ISupportErrorInfo> support;
  if (object != nullptr &&
      SUCCEEDED(object->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(support.Put()))) &&
      support && support->InterfaceSupportsErrorInfo(iid) == S_OK) {
    if (GetErrorInfo(0, &info) != S_OK) info = nullptr;
  }
  platform::ThrowComError(hr, info);
}

}  // namespace tavrel::host
