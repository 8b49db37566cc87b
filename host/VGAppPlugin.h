// The plug-in object the host drives: identity and lifetime, the load and
// unload notifications, and the state the commands share (the host's
// application object, the event cookie and the cached enable state of the
// send command). Every entry point holds a reference to the object while it
// runs, so a host that lets go of its last one meanwhile (from a dialog, an
// export or an event it sends back) frees the object only on the way out.
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
  // Whether the host holds the plug-in's one event subscription: set when
  // it accepted the subscription, cleared when it ended it. The cookie is
  // kept after that, as the host gave it.
  bool Subscribed() const { return subscribed_; }
  void SetSubscribed(bool subscribed) { subscribed_ = subscribed; }
  bool SendEnabled() const { return sendEnabled_ != 0; }
  void SetSendEnabled(bool enabled) { sendEnabled_ = enabled ? 1 : 0; }

 private:
  // Freed only through Release; lets go of an application still held (a
  // host that released the object without the unload notification).
  ~CVGAppPlugin();

  IHostApplication* application_ = nullptr;
  std::int32_t referenceCount_ = 1;
  std::int32_t eventCookie_ = 0;
  std::uint8_t sendEnabled_ = 0;
  bool subscribed_ = false;
};

}  // namespace tavrel::host
