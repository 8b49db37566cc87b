#include "platform/Registry.h"

#include <windows.h>

#include "platform/win32/WideText.h"

namespace tavrel::platform {

namespace {
HKEY AsKey(uintptr_t handle) { return reinterpret_cast<HKEY>(handle); }
static_assert(kRegNone == REG_NONE && kRegSz == REG_SZ && kRegExpandSz == REG_EXPAND_SZ &&
              kRegBinary == REG_BINARY && kRegDword == REG_DWORD && kRegMultiSz == REG_MULTI_SZ);
}  // namespace

uint32_t RegistryKey::OpenCurrentUser(std::u16string_view subkey) {
  Close();
  HKEY key = nullptr;
  const LONG result =
      ::RegOpenKeyExW(HKEY_CURRENT_USER, win32::Wide(subkey).c_str(), 0, KEY_QUERY_VALUE, &key);
  if (result == ERROR_SUCCESS) handle_.Reset(reinterpret_cast<uintptr_t>(key));
  return static_cast<uint32_t>(result);
}

uint32_t RegistryKey::QueryValue(std::u16string_view name, void* data, uint32_t* size, uint32_t* type) const {
  DWORD bytes = *size;
  DWORD kind = REG_NONE;
  const LONG result = ::RegQueryValueExW(AsKey(handle_.Get()), win32::Wide(name).c_str(), nullptr, &kind,
                                         static_cast<BYTE*>(data), &bytes);
  *size = bytes;
  if (type != nullptr) *type = kind;
  return static_cast<uint32_t>(result);
}

void RegistryKeyTraits::Close(uintptr_t handle) { ::RegCloseKey(AsKey(handle)); }

}  // namespace tavrel::platform
