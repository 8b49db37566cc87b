// The plug-in object the host drives: identity and lifetime, the load and
// unload notifications, and the state the commands share (the host's
// application object, the event cookie and the cached enable state of the
// send command).
#pragma once

#include <cstdint>

#include "host/HostApi.h"

namespace tavrel::host {

class CVGAppPlugin final : public IVGAppPlugin {
 public:
  CVGAppPlugin() = default;
  CVGAppPlugin(const CVGAppPlugin&) = delete;
  CVGAppPlugin& operator=(const CVGAppPlugin&) = delete;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IDispatch: the host reaches the events by number only.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT* argError) override;

  // IVGAppPlugin
  HRESULT STDMETHODCALLTYPE OnLoad(IHostApplication* application) override;
  HRESULT STDMETHODCALLTYPE StartSession() override;
  HRESULT STDMETHODCALLTYPE StopSession() override;
  HRESULT STDMETHODCALLTYPE OnUnload() override;

  // The application held from the load to the unload notification (no new
  // reference; null outside that span).
  IHostApplication* Application() const { return application_; }
  std::int32_t EventCookie() const { return eventCookie_; }
  void SetEventCookie(std::int32_t cookie) { eventCookie_ = cookie; }
  bool SendEnabled() const { return sendEnabled_ != 0; }
  void SetSendEnabled(bool enabled) { sendEnabled_ = enabled ? 1 : 0; }

 private:
  // Freed only through Release.
  ~CVGAppPlugin() = default;

  IHostApplication* application_ = nullptr;
  std::int32_t referenceCount_ = 1;
  std::int32_t eventCookie_ = 0;
  std::uint8_t sendEnabled_ = 0;
};

}  // namespace tavrel::host
