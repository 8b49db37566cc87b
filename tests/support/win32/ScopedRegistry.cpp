#include "tests/support/ScopedRegistry.h"

#include <windows.h>

#include <stdexcept>
#include <vector>

#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"

namespace tavrel::testing_support {

namespace {

using platform::win32::Wide;

HKEY RootKey(RegistryRoot root) {
  return root == RegistryRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

// An open registry key, closed on every path.
using Key = platform::win32::RegistryKeyHandle;

bool Exists(HKEY root, const std::wstring& key) {
  Key k;
  return ::RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, k.Put()) == ERROR_SUCCESS;
}

struct WrittenValue {
  HKEY root;
  std::wstring key;
  std::wstring name;
};

struct CreatedKey {
  HKEY root;
  std::wstring key;
};

}  // namespace

struct ScopedRegistry::Impl {
  std::vector<CreatedKey> created;   // the topmost key each write created
  std::vector<WrittenValue> values;  // values written into keys that were there before

  // Creates the key, remembering what to remove afterwards; `name` is the
  // value about to be written (nullptr for none).
  void Prepare(HKEY root, const std::wstring& key, const wchar_t* name) {
    size_t end = 0;
    for (;;) {
      end = key.find(L'\\', end + 1);
      const std::wstring prefix = key.substr(0, end);
      if (!Exists(root, prefix)) {
        created.push_back(CreatedKey{root, prefix});
        break;
      }
      if (end == std::wstring::npos) {
        if (name != nullptr) values.push_back(WrittenValue{root, key, name});
        break;
      }
    }
  }

  void Write(RegistryRoot root, std::u16string_view key, std::u16string_view name, DWORD type,
             const void* data, DWORD size) {
    const std::wstring k = Wide(key);
    const std::wstring n = Wide(name);
    Prepare(RootKey(root), k, n.c_str());
    Key h;
    if (::RegCreateKeyExW(RootKey(root), k.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, h.Put(),
                          nullptr) != ERROR_SUCCESS ||
        ::RegSetValueExW(h.Get(), n.c_str(), 0, type, static_cast<const BYTE*>(data), size) != ERROR_SUCCESS)
      throw std::runtime_error("cannot write the registry");
  }
};

ScopedRegistry::ScopedRegistry() : impl_(std::make_unique<Impl>()) {}

ScopedRegistry::~ScopedRegistry() {
  for (const WrittenValue& v : impl_->values) {
    Key h;
    if (::RegOpenKeyExW(v.root, v.key.c_str(), 0, KEY_SET_VALUE, h.Put()) == ERROR_SUCCESS)
      ::RegDeleteValueW(h.Get(), v.name.c_str());
  }
  for (auto it = impl_->created.rbegin(); it != impl_->created.rend(); ++it)
    ::RegDeleteTreeW(it->root, it->key.c_str());
}

void ScopedRegistry::SetString(RegistryRoot root, std::u16string_view key, std::u16string_view name,
                               std::u16string_view value) {
  const std::wstring data = Wide(value);
  impl_->Write(root, key, name, REG_SZ, data.c_str(),
               static_cast<DWORD>(data.size() + 1) * static_cast<DWORD>(sizeof(wchar_t)));
}

void ScopedRegistry::SetBytes(RegistryRoot root, std::u16string_view key, std::u16string_view name,
                              uint32_t type, std::string_view bytes) {
  impl_->Write(root, key, name, type, bytes.data(), static_cast<DWORD>(bytes.size()));
}

void ScopedRegistry::CreateKey(RegistryRoot root, std::u16string_view key) {
  const std::wstring k = Wide(key);
  impl_->Prepare(RootKey(root), k, nullptr);
  Key h;
  if (::RegCreateKeyExW(RootKey(root), k.c_str(), 0, nullptr, 0, KEY_READ, nullptr, h.Put(), nullptr) !=
      ERROR_SUCCESS)
    throw std::runtime_error("cannot create a registry key");
}

void ScopedRegistry::RemoveKey(RegistryRoot root, std::u16string_view key) {
  ::RegDeleteTreeW(RootKey(root), Wide(key).c_str());
}

}  // namespace tavrel::testing_support
