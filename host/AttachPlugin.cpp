#include "host/AttachPlugin.h"

#include <new>

#include "host/VGAppPlugin.h"

extern "C" LONG STDAPICALLTYPE AttachPlugin(tavrel::host::IVGAppPlugin** plugin) {
  // Without a place to store it, an object would only leak.
  if (plugin == nullptr) return tavrel::host::kAttachPluginResult;
  *plugin = new (std::nothrow) tavrel::host::CVGAppPlugin();
  return tavrel::host::kAttachPluginResult;
}
