#include "platform/posix/StandIn.h"

#include <cstdlib>
#include <utility>

#include "platform/posix/StandInState.h"

namespace tavrel::platform::standin {

StandInState& State() {
  static StandInState state;
  return state;
}

void SetMessageBoxObserver(MessageBoxObserver observer) { State().messageBoxObserver = std::move(observer); }

void SetProcessObserver(ProcessObserver observer) { State().processObserver = std::move(observer); }

void SetRegistryFile(std::string path) {
  State().registryFile = std::move(path);
  State().registryFileSet = true;
}

std::string RegistryFile() {
  if (State().registryFileSet) return State().registryFile;
  const char* fromEnvironment = std::getenv(kRegistryFileVariable);
  return fromEnvironment == nullptr ? std::string() : std::string(fromEnvironment);
}

RegistryCounts GetRegistryCounts() { return State().registryCounts; }

void ResetRegistryCounts() { State().registryCounts = RegistryCounts{}; }

}  // namespace tavrel::platform::standin
