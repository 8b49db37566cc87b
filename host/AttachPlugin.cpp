#include "host/AttachPlugin.h"

#include <new>

#include "host/ModuleInstance.h"
#include "host/VGAppPlugin.h"

extern "C" LONG STDAPICALLTYPE AttachPlugin(tavrel::host::IVGAppPlugin** plugin) {
  // Without a place to store it, an object would only leak.
  if (plugin == nullptr) return tavrel::host::kAttachPluginResult;
  *plugin = new (std::nothrow) tavrel::host::CVGAppPlugin();
  // Once an object is handed out the module stays loaded: the host may free
  // it while the object still runs (a release from inside an entry point)
  // or lives. Should pinning fail, the object still works as before.
  if (*plugin != nullptr) tavrel::host::PinModuleOnce();
  return tavrel::host::kAttachPluginResult;
}
