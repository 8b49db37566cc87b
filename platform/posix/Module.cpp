#include "platform/Module.h"

#include <dlfcn.h>
#include <link.h>

#include "platform/posix/Handles.h"

namespace tavrel::platform {

bool PinModule(ModuleHandle module) noexcept {
  if (module == nullptr) return true;
  // Only a handle of a loaded module is pinned; any other value (a program's
  // own resources standing for a module) is left alone, as a null one is.
  // The loader's handle is the module's link map, so the maps of the
  // process are compared with it, and nothing is read through it before it
  // is found among them.
  const posix::LibraryHandle program(dlopen(nullptr, RTLD_LAZY));
  link_map* map = nullptr;
  if (!program || dlinfo(program.Get(), RTLD_DI_LINKMAP, &map) != 0 || map == nullptr) return false;
  while (map->l_prev != nullptr) map = map->l_prev;
  for (; map != nullptr; map = map->l_next) {
    if (reinterpret_cast<void*>(map) != reinterpret_cast<void*>(module)) continue;
    // The reference RTLD_NODELETE takes is never given back: the loader
    // keeps the module mapped until the process ends, which is the point.
    return dlopen(map->l_name, RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE) != nullptr;
  }
  return true;
}

}  // namespace tavrel::platform
