// Reading values below HKEY_CURRENT_USER. The key is owned: it is closed
// (RegCloseKey) exactly once, when the owner closes it or goes away. Results
// are Windows error codes.
#pragma once

#include <cstdint>
#include <string_view>
#include <utility>

#include "platform/ErrorCodes.h"

namespace tavrel::platform {

class RegistryKey {
 public:
  RegistryKey() = default;
  ~RegistryKey() { Close(); }
  RegistryKey(RegistryKey&& other) noexcept : handle_(std::exchange(other.handle_, 0)) {}
  RegistryKey& operator=(RegistryKey&& other) noexcept {
    if (this != &other) {
      Close();
      handle_ = std::exchange(other.handle_, 0);
    }
    return *this;
  }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;

  // RegOpenKeyExW(HKEY_CURRENT_USER, subkey, 0, KEY_QUERY_VALUE), closing
  // any key held before.
  uint32_t OpenCurrentUser(std::u16string_view subkey);

  // RegQueryValueExW(key, name, nullptr, nullptr, data, size): the type is
  // not asked for. On entry *size is the room at `data` in bytes; on return
  // the value's size. A value that does not fit gives kErrorMoreData.
  uint32_t QueryValue(std::u16string_view name, void* data, uint32_t* size) const;

  bool IsOpen() const { return handle_ != 0; }
  void Close();

 private:
  uintptr_t handle_ = 0;
};

}  // namespace tavrel::platform
