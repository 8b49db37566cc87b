#include "platform/Module.h"

#include <dlfcn.h>
#include <link.h>

namespace tavrel::platform {

bool PinModule(ModuleHandle module) noexcept {
  if (module == nullptr) return true;
  link_map* map = nullptr;
  if (dlinfo(reinterpret_cast<void*>(module), RTLD_DI_LINKMAP, &map) != 0 || map == nullptr) return false;
  // The reference RTLD_NODELETE takes is never given back: the loader keeps
  // the module mapped until the process ends, which is the point.
  return dlopen(map->l_name, RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE) != nullptr;
}

}  // namespace tavrel::platform
