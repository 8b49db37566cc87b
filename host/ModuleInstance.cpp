#include "host/ModuleInstance.h"

namespace tavrel::host {

namespace {
platform::ModuleHandle g_instance = nullptr;
}

void SetModuleInstance(platform::ModuleHandle instance) { g_instance = instance; }
platform::ModuleHandle ModuleInstance() { return g_instance; }

}  // namespace tavrel::host
