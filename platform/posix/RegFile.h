// Internal to the POSIX platform layer: the registry as a ".reg" text file
// ("Windows Registry Editor Version 5.00", UTF-8 or UTF-16LE with its byte
// order mark). Understood: [key] sections ([-key] drops the section's
// values), "name"= and @= values holding "text" (with \\ and \" escapes),
// dword:, hex: and hex(N): (bytes may continue on the next line after a
// backslash), and "name"=- (removes the value). Each keeps its type: "text"
// is REG_SZ, dword: REG_DWORD, hex: REG_BINARY and hex(N): type N (so
// hex(2): is REG_EXPAND_SZ, hex(7): REG_MULTI_SZ, hex(0): REG_NONE).
// Anything else is skipped.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"

namespace tavrel::platform::posix {

struct RegValue {
  std::u16string name;  // empty for the default value
  uint32_t type = 0;
  std::vector<uint8_t> data;  // strings as UTF-16LE with their NUL
};

struct RegKey {
  std::u16string path;  // the full path, e.g. HKEY_CURRENT_USER\Software\X
  std::vector<RegValue> values;
};

class RegFile {
 public:
  // Parses the text of a registry file; a text without the header gives an
  // empty registry.
  static RegFile Parse(std::string_view bytes);
  // Reads and parses a file; a missing or unreadable file gives an empty one.
  static RegFile Load(const std::string& nativePath);

  // True when the key is in the file, as a section or as the parent of one.
  // Names compare without regard to the case of ASCII letters; the roots
  // HKCU and HKLM stand for HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE.
  bool HasKey(std::u16string_view path) const;
  // The values of the key (none when it has no section).
  std::vector<RegValue> ValuesOf(std::u16string_view path) const;

 private:
  RegKey& Section(std::u16string_view path);
  // Drops the key and every key below it.
  void Remove(std::u16string_view path);
  std::vector<RegKey> keys_;
};

}  // namespace tavrel::platform::posix
