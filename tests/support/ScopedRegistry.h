// Registry values written for one test and removed afterwards. The win32
// build writes the real registry (the project's Wine prefix under Wine); the
// native build writes a ".reg" file and makes it the platform layer's
// registry.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/Registry.h"

namespace tavrel::testing_support {

enum class RegistryRoot { CurrentUser, LocalMachine };

class ScopedRegistry {
 public:
  ScopedRegistry();
  ~ScopedRegistry();
  ScopedRegistry(const ScopedRegistry&) = delete;
  ScopedRegistry& operator=(const ScopedRegistry&) = delete;

  // A string value (REG_SZ) stored with its terminating NUL.
  void SetString(RegistryRoot root, std::u16string_view key, std::u16string_view name,
                 std::u16string_view value);
  // A value of any type holding exactly these bytes.
  void SetBytes(RegistryRoot root, std::u16string_view key, std::u16string_view name, uint32_t type,
                std::string_view bytes);
  // A key without values.
  void CreateKey(RegistryRoot root, std::u16string_view key);
  // Removes a key and everything below it (for leftovers of earlier runs).
  void RemoveKey(RegistryRoot root, std::u16string_view key);

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

// Registry value types.
using platform::kRegBinary;
using platform::kRegDword;
using platform::kRegExpandSz;
using platform::kRegMultiSz;
using platform::kRegNone;
using platform::kRegSz;

// Text as the registry stores it: UTF-16LE, then `nuls` NUL units.
inline std::string Utf16Bytes(std::u16string_view text, size_t nuls = 0) {
  std::string out;
  for (char16_t c : text) out += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
  return out + std::string(2 * nuls, '\0');
}

}  // namespace tavrel::testing_support
