#include "platform/Registry.h"

#include <cstring>
#include <map>
#include <utility>
#include <vector>

#include "platform/Text.h"
#include "platform/posix/RegFile.h"
#include "platform/posix/StandInState.h"

namespace tavrel::platform {

namespace {

// The open keys: each holds the values its key had when it was opened.
struct OpenKeys {
  std::map<uintptr_t, std::vector<posix::RegValue>> keys;
  uintptr_t next = 1;
};

OpenKeys& Keys() {
  static OpenKeys keys;
  return keys;
}

}  // namespace

uint32_t RegistryKey::OpenCurrentUser(std::u16string_view subkey) {
  Close();
  // Read afresh at every open, so a changed file is seen at once.
  const posix::RegFile file = posix::RegFile::Load(standin::RegistryFile());
  std::u16string path = u"HKEY_CURRENT_USER";
  if (!subkey.empty()) {
    path += u'\\';
    path += subkey;
  }
  if (!file.HasKey(path)) return kErrorFileNotFound;
  OpenKeys& open = Keys();
  const uintptr_t handle = open.next++;
  open.keys.emplace(handle, file.ValuesOf(path));
  handle_.Reset(handle);
  ++standin::State().registryCounts.opened;
  return kErrorSuccess;
}

uint32_t RegistryKey::QueryValue(std::u16string_view name, void* data, uint32_t* size, uint32_t* type) const {
  const auto key = Keys().keys.find(handle_.Get());
  if (key == Keys().keys.end()) return kErrorInvalidHandle;
  for (const posix::RegValue& value : key->second) {
    if (!text::EqualsNoCase(value.name, name)) continue;
    const auto needed = static_cast<uint32_t>(value.data.size());
    const uint32_t room = *size;
    *size = needed;
    if (type != nullptr) *type = value.type;
    if (data == nullptr) return kErrorSuccess;
    if (needed > room) return kErrorMoreData;
    if (needed > 0) std::memcpy(data, value.data.data(), needed);
    return kErrorSuccess;
  }
  return kErrorFileNotFound;
}

void RegistryKeyTraits::Close(uintptr_t handle) {
  Keys().keys.erase(handle);
  ++standin::State().registryCounts.closed;
}

}  // namespace tavrel::platform
