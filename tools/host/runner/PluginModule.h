// The loaded plug-in module and its AttachPlugin export (dlopen and
// "AttachPlugin" natively; LoadLibraryW and "_AttachPlugin@4" on 32-bit
// Windows, "AttachPlugin" on 64-bit Windows).
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "host/HostApi.h"

namespace tavrel::hostrunner {

using AttachPluginFn = LONG(STDAPICALLTYPE*)(host::IVGAppPlugin** plugin);

class PluginModule {
 public:
  virtual ~PluginModule() = default;
  virtual AttachPluginFn Attach() const = 0;
  // The module's handle (HMODULE / dlopen handle).
  virtual void* Handle() const = 0;
  // Keeps the module loaded after this object goes (while a plug-in object
  // that was never released may still be called).
  virtual void Pin() = 0;
};

// Throws std::runtime_error naming the file and why it could not be loaded.
std::unique_ptr<PluginModule> LoadPluginModule(const std::filesystem::path& file);

}  // namespace tavrel::hostrunner
