#include <cstdlib>

#include "tests/support/EmbroideryStandIn.h"

namespace tavrel::testing_support {

std::optional<std::filesystem::path> GetEnvironmentPath(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr) return std::nullopt;
  return std::filesystem::path(value);
}

void SetEnvironmentPath(const char* name, const std::optional<std::filesystem::path>& value) {
  if (value) {
    ::setenv(name, value->c_str(), 1);
  } else {
    ::unsetenv(name);
  }
}

}  // namespace tavrel::testing_support
