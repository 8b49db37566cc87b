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

}  // namespace tavrel::testing_support
