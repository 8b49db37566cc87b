#include <windows.h>

#include "tests/support/EmbroideryStandIn.h"

namespace tavrel::testing_support {

namespace {
std::wstring WideName(const char* name) {
  return std::wstring(name, name + std::char_traits<char>::length(name));
}
}  // namespace

std::optional<std::filesystem::path> GetEnvironmentPath(const char* name) {
  const std::wstring wide = WideName(name);
  const DWORD size = ::GetEnvironmentVariableW(wide.c_str(), nullptr, 0);
  if (size == 0) return std::nullopt;
  std::wstring value(size, L'\0');
  value.resize(::GetEnvironmentVariableW(wide.c_str(), value.data(), size));
  return std::filesystem::path(value);
}

void SetEnvironmentPath(const char* name, const std::optional<std::filesystem::path>& value) {
  ::SetEnvironmentVariableW(WideName(name).c_str(), value ? value->c_str() : nullptr);
}

}  // namespace tavrel::testing_support
