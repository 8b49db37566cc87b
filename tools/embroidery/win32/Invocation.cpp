#include "tools/embroidery/Invocation.h"

#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include "platform/Text.h"
#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"

namespace tavrel::embroidery_standin {

namespace {

using platform::win32::FromWide;
using platform::win32::Wide;

std::string Utf8(const wchar_t* s) { return text::ToUtf8(FromWide(s)); }

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
    const platform::win32::LocalMemoryHandle owned(args);
    invocation.arguments.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) invocation.arguments.push_back(Utf8(args[i]));
  }
  return invocation;
}

std::optional<std::filesystem::path> PathFromEnvironment(const char* name) {
  const std::wstring wideName = Wide(text::FromUtf8(name));
  const DWORD size = ::GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
  if (size <= 1) return std::nullopt;
  std::wstring value(size, L'\0');
  value.resize(::GetEnvironmentVariableW(wideName.c_str(), value.data(), size));
  return std::filesystem::path(value);
}

std::filesystem::path FileFromArgument(const std::string& argument) {
  return std::filesystem::path(Wide(text::FromUtf8(argument)));
}

}  // namespace tavrel::embroidery_standin
