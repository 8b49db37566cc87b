// A path as the plug-in spells it, as the file system takes it: natively
// UTF-8 with every backslash a slash; on Windows unchanged.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tavrel::hostmodel {

std::filesystem::path FileSystemPath(std::u16string_view path);

// A path for messages, in UTF-8 (path::string() throws on Windows for names
// outside the ANSI code page).
inline std::string PathText(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace tavrel::hostmodel
