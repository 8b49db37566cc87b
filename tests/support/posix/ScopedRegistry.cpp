#include "tests/support/ScopedRegistry.h"

#include <cstdio>
#include <fstream>
#include <vector>

#include "platform/Text.h"
#include "platform/posix/StandIn.h"
#include "tests/support/TempDir.h"

namespace tavrel::testing_support {

namespace {

struct Value {
  std::u16string name;
  std::string line;  // the text after "="
};

struct Key {
  std::u16string path;
  std::vector<Value> values;
};

std::string Escaped(std::u16string_view s) {
  std::string out;
  for (char c : text::ToUtf8(s)) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out;
}

std::string HexBytes(std::string_view bytes) {
  static const char* digits = "0123456789abcdef";
  std::string out;
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (i > 0) out += i % 16 == 0 ? ",\\\n  " : ",";
    out += digits[b >> 4];
    out += digits[b & 15];
  }
  return out;
}

std::u16string FullPath(RegistryRoot root, std::u16string_view key) {
  std::u16string path = root == RegistryRoot::CurrentUser ? u"HKEY_CURRENT_USER\\" : u"HKEY_LOCAL_MACHINE\\";
  return path + std::u16string(key);
}

}  // namespace

struct ScopedRegistry::Impl {
  TempDir dir;
  std::vector<Key> keys;

  Key& Find(RegistryRoot root, std::u16string_view key) {
    const std::u16string path = FullPath(root, key);
    for (Key& k : keys) {
      if (k.path == path) return k;
    }
    keys.push_back(Key{path, {}});
    return keys.back();
  }

  void Set(RegistryRoot root, std::u16string_view key, std::u16string_view name, std::string line) {
    Key& k = Find(root, key);
    std::erase_if(k.values, [&](const Value& v) { return v.name == name; });
    k.values.push_back(Value{std::u16string(name), std::move(line)});
    Save();
  }

  void Save() {
    std::string out = "Windows Registry Editor Version 5.00\r\n";
    for (const Key& k : keys) {
      out += "\r\n[" + text::ToUtf8(k.path) + "]\r\n";
      for (const Value& v : k.values) out += "\"" + Escaped(v.name) + "\"=" + v.line + "\r\n";
    }
    dir.Write(u"registry.reg", out);
    platform::standin::SetRegistryFile(dir.Native(u"registry.reg").string());
  }
};

ScopedRegistry::ScopedRegistry() : impl_(std::make_unique<Impl>()) { impl_->Save(); }

ScopedRegistry::~ScopedRegistry() { platform::standin::SetRegistryFile(std::string()); }

void ScopedRegistry::SetString(RegistryRoot root, std::u16string_view key, std::u16string_view name,
                               std::u16string_view value) {
  impl_->Set(root, key, name, "\"" + Escaped(value) + "\"");
}

void ScopedRegistry::SetBytes(RegistryRoot root, std::u16string_view key, std::u16string_view name,
                              uint32_t type, std::string_view bytes) {
  // The type in hexadecimal, as the ".reg" format writes it (hex(b): is 11).
  char kind[16];
  std::snprintf(kind, sizeof(kind), "hex(%x):", static_cast<unsigned>(type));
  impl_->Set(root, key, name, kind + HexBytes(bytes));
}

void ScopedRegistry::CreateKey(RegistryRoot root, std::u16string_view key) {
  impl_->Find(root, key);
  impl_->Save();
}

void ScopedRegistry::RemoveKey(RegistryRoot root, std::u16string_view key) {
  const std::u16string path = FullPath(root, key);
  std::erase_if(impl_->keys,
                [&](const Key& k) { return k.path == path || k.path.starts_with(path + u"\\"); });
  impl_->Save();
}

}  // namespace tavrel::testing_support
