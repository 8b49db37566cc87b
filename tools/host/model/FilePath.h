// A path as the plug-in spells it, as the file system takes it: natively
// UTF-8 with every backslash a slash; on Windows unchanged.
#pragma once

#include <filesystem>
#include <string_view>

namespace tavrel::hostmodel {

std::filesystem::path FileSystemPath(std::u16string_view path);

}  // namespace tavrel::hostmodel
