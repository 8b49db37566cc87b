#include "tools/embroidery/Invocation.h"

#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

namespace tavrel::embroidery_standin {

namespace {

std::string Utf8(const wchar_t* s) {
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, s, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return std::string();
  std::string out(static_cast<size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, s, -1, out.data(), size, nullptr, nullptr);
  out.pop_back();
  return out;
}

std::wstring Wide(const std::string& s) {
  const int size = ::MultiByteToWideChar(CP_UTF8, 0, s.c_str(), -1, nullptr, 0);
  if (size <= 1) return std::wstring();
  std::wstring out(static_cast<size_t>(size), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, s.c_str(), -1, out.data(), size);
  out.pop_back();
  return out;
}

}  // namespace

// The arguments come from the system's own splitting of the command line,
// not from the C runtime's narrow argv, which would lose letters outside the
// ANSI code page.
Invocation ReadInvocation(int, char**) {
  Invocation invocation;
  const wchar_t* line = ::GetCommandLineW();
  invocation.commandLine = Utf8(line);
  int count = 0;
  if (wchar_t** args = ::CommandLineToArgvW(line, &count)) {
    invocation.arguments.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) invocation.arguments.push_back(Utf8(args[i]));
    ::LocalFree(args);
  }
  return invocation;
}

std::optional<std::filesystem::path> PathFromEnvironment(const char* name) {
  const std::wstring wideName = Wide(name);
  const DWORD size = ::GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
  if (size <= 1) return std::nullopt;
  std::wstring value(size, L'\0');
  value.resize(::GetEnvironmentVariableW(wideName.c_str(), value.data(), size));
  return std::filesystem::path(value);
}

std::filesystem::path FileFromArgument(const std::string& argument) {
  return std::filesystem::path(Wide(argument));
}

}  // namespace tavrel::embroidery_standin
