#include "tools/embroidery/Invocation.h"

#include <cstdlib>

namespace tavrel::embroidery_standin {

Invocation ReadInvocation(int argc, char** argv) {
  Invocation invocation;
  for (int i = 0; i < argc; ++i) invocation.arguments.emplace_back(argv[i]);
  return invocation;
}

std::optional<std::filesystem::path> PathFromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') return std::nullopt;
  return std::filesystem::path(value);
}

std::filesystem::path FileFromArgument(const std::string& argument) {
  std::string native = argument;
  for (char& c : native) {
    if (c == '\\') c = '/';
  }
  return std::filesystem::path(native);
}

}  // namespace tavrel::embroidery_standin
