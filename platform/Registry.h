// Reading values below HKEY_CURRENT_USER. The key is owned: it is closed
// (RegCloseKey) exactly once, when the owner closes it or goes away. Results
// are Windows error codes.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/ErrorCodes.h"
#include "platform/UniqueHandle.h"

namespace tavrel::platform {

// Registry value types.
constexpr uint32_t kRegNone = 0;
constexpr uint32_t kRegSz = 1;
constexpr uint32_t kRegExpandSz = 2;
constexpr uint32_t kRegBinary = 3;
constexpr uint32_t kRegDword = 4;
constexpr uint32_t kRegMultiSz = 7;

// What a RegistryKey holds: an HKEY on Windows, the stand-in's key number
// natively; 0 when there is none. Close is the platform's own.
struct RegistryKeyTraits {
  using Type = uintptr_t;
  static Type None() { return 0; }
  static bool IsNone(Type handle) { return handle == 0; }
  static void Close(Type handle);
};

class RegistryKey {
 public:
  // RegOpenKeyExW(HKEY_CURRENT_USER, subkey, 0, KEY_QUERY_VALUE), closing
  // any key held before.
  uint32_t OpenCurrentUser(std::u16string_view subkey);

  // RegQueryValueExW(key, name, nullptr, type, data, size). On entry *size
  // is the room at `data` in bytes; on return the value's size. A value that
  // does not fit gives kErrorMoreData. `type`, when given, receives the
  // value's type (one of the kReg constants, or any other number stored).
  uint32_t QueryValue(std::u16string_view name, void* data, uint32_t* size, uint32_t* type = nullptr) const;

  bool IsOpen() const { return handle_.IsValid(); }
  void Close() { handle_.Reset(); }

 private:
  UniqueHandle<RegistryKeyTraits> handle_;
};

}  // namespace tavrel::platform
