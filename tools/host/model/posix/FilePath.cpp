#include <algorithm>
#include <string>

#include "platform/Text.h"
#include "tools/host/model/FilePath.h"

namespace tavrel::hostmodel {

std::filesystem::path FileSystemPath(std::u16string_view path) {
  std::string native = text::ToUtf8(path);
  std::replace(native.begin(), native.end(), '\\', '/');
  return native;
}

}  // namespace tavrel::hostmodel
