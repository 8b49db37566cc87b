// Turns a failing host call into _com_error: the HRESULT and, where the
// object offers error information for the interface, the host's description.
#pragma once

#include "host/HostApi.h"

namespace tavrel::host {

void RaiseHostError(HRESULT hr, IUnknown* object, REFIID iid);

template <class T>
void Check(HRESULT hr, T* object) {
  if (FAILED(hr)) RaiseHostError(hr, object, InterfaceId<T>());
}

}  // namespace tavrel::host
