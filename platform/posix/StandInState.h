// Internal to the POSIX platform layer: the hooks of StandIn.h as stored.
#pragma once

#include "platform/posix/StandIn.h"

namespace tavrel::platform::standin {

struct StandInState {
  MessageBoxObserver messageBoxObserver;
  ProcessObserver processObserver;
  std::string registryFile;
  bool registryFileSet = false;
  RegistryCounts registryCounts;
};

StandInState& State();

}  // namespace tavrel::platform::standin
