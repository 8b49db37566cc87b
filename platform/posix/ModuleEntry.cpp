// The module's load-time constructor stands in for DllMain: it finds the
// module's own dlopen handle (without pinning the module) and records it.
#include <dlfcn.h>

#include "platform/ModuleEntry.h"
#include "platform/posix/Handles.h"

namespace {

__attribute__((constructor)) void AttachModule() {
  Dl_info info{};
  void* self = nullptr;
  if (dladdr(reinterpret_cast<void*>(&AttachModule), &info) != 0 && info.dli_fname != nullptr) {
    // RTLD_NOLOAD took a reference; the handle stays valid while the module
    // is loaded, so the reference is given back at once.
    const tavrel::platform::posix::LibraryHandle reference(dlopen(info.dli_fname, RTLD_LAZY | RTLD_NOLOAD));
    self = reference.Get();
  }
  tavrel::platform::OnModuleAttach(reinterpret_cast<tavrel::platform::ModuleHandle>(self));
}

}  // namespace
