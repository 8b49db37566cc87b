// Watches what the plug-in puts on the screen and in the process table and
// records it in the host model's log: message boxes (caption, text, flags,
// the button pressed) and started processes (command line). Natively through
// the platform stand-in's observers; on Windows through a CBT hook that
// reads and answers the real box, and wrappers patched into the plug-in
// module's imports of MessageBoxW and CreateProcessW.
#pragma once

#include <memory>

#include "tools/host/model/HostModel.h"

namespace tavrel::hostrunner {

class EffectCapture {
 public:
  virtual ~EffectCapture() = default;
};

// `module` is the plug-in module's handle.
std::unique_ptr<EffectCapture> CaptureEffects(void* module, hostmodel::HostModel& model);

// Makes the file the platform reads HKEY_CURRENT_USER from (natively), or
// imports it into the registry (Windows). Throws std::runtime_error.
void UseRegistryFile(const std::string& file);

}  // namespace tavrel::hostrunner
