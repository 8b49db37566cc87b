#include "host/ModuleInstance.h"

namespace tavrel::host {

namespace {
platform::ModuleHandle g_instance = nullptr;
bool g_pinned = false;
}  // namespace

void SetModuleInstance(platform::ModuleHandle instance) { g_instance = instance; }
platform::ModuleHandle ModuleInstance() { return g_instance; }

void PinModuleOnce() noexcept {
  if (!g_pinned) g_pinned = platform::PinModule(g_instance);
}

}  // namespace tavrel::host
