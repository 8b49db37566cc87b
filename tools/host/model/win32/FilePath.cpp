#include <string>

#include "tools/host/model/FilePath.h"

namespace tavrel::hostmodel {

std::filesystem::path FileSystemPath(std::u16string_view path) {
  return std::wstring(reinterpret_cast<const wchar_t*>(path.data()), path.size());
}

}  // namespace tavrel::hostmodel
