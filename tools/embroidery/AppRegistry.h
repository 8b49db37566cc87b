// Where the stand-in's --install command registers an application: the
// registry value AppPath below HKEY_CURRENT_USER. The Windows build writes
// the system's registry (under Wine, the prefix's); the native build writes
// a ".reg" file, the stand-in host's registry (tavrel-host --registry).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tavrel::embroidery_standin {

// Whether this build registers in a ".reg" file (which must then be named).
bool RegistersInFile();

// Sets AppPath of `key` to `folder`; natively adds the key to `regFile`
// (created with its header when missing; a section of the same key is
// replaced). Returns "" or what went wrong.
std::string RegisterApplication(std::u16string_view key, std::u16string_view folder,
                                const std::filesystem::path& regFile);

// Removes `key` (natively its section of `regFile`). A key that is not
// there is no error. Returns "" or what went wrong.
std::string UnregisterApplication(std::u16string_view key, const std::filesystem::path& regFile);

// The running program's own file, for copying it under an application's name.
std::filesystem::path OwnProgram();

}  // namespace tavrel::embroidery_standin
