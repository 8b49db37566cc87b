// The module's load-time constructor stands in for DllMain: it finds the
// module's own dlopen handle (without pinning the module) and records it.
#include <dlfcn.h>

#include "platform/ModuleEntry.h"

namespace {

__attribute__((constructor)) void AttachModule() {
  Dl_info info{};
  void* self = nullptr;
  if (dladdr(reinterpret_cast<void*>(&AttachModule), &info) != 0 && info.dli_fname != nullptr) {
    self = dlopen(info.dli_fname, RTLD_LAZY | RTLD_NOLOAD);
    // RTLD_NOLOAD took a reference; the handle stays valid while the module
    // is loaded, so it is given back at once.
    if (self != nullptr) dlclose(self);
  }
  tavrel::platform::OnModuleAttach(reinterpret_cast<tavrel::platform::ModuleHandle>(self));
}

}  // namespace
