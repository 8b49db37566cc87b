#include "tools/embroidery/AppRegistry.h"

#include <windows.h>

#include <string>
#include <system_error>

#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"

namespace tavrel::embroidery_standin {

namespace {

using platform::win32::Wide;

std::string Failure(const char* what, LSTATUS status) {
  return std::string(what) + ": " + std::system_category().message(static_cast<int>(status));
}

}  // namespace

bool RegistersInFile() { return false; }

std::string RegisterApplication(std::u16string_view key, std::u16string_view folder,
                                const std::filesystem::path&) {
  platform::win32::RegistryKeyHandle opened;
  LSTATUS status = ::RegCreateKeyExW(HKEY_CURRENT_USER, Wide(key).c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                     nullptr, opened.Put(), nullptr);
  if (status != ERROR_SUCCESS) return Failure("cannot create the registry key", status);
  const std::wstring value = Wide(folder);
  status = ::RegSetValueExW(opened.Get(), L"AppPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>(value.size() + 1) * static_cast<DWORD>(sizeof(wchar_t)));
  return status == ERROR_SUCCESS ? std::string() : Failure("cannot set AppPath", status);
}

std::string UnregisterApplication(std::u16string_view key, const std::filesystem::path&) {
  const LSTATUS status = ::RegDeleteTreeW(HKEY_CURRENT_USER, Wide(key).c_str());
  if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) return std::string();
  return Failure("cannot remove the registry key", status);
}

std::filesystem::path OwnProgram() {
  std::wstring name(MAX_PATH, L'\0');
  for (;;) {
    const DWORD size = ::GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (size < name.size()) {
      name.resize(size);
      return std::filesystem::path(name);
    }
    name.resize(name.size() * 2);
  }
}

}  // namespace tavrel::embroidery_standin
