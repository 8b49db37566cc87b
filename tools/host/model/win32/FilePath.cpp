#include "tools/host/model/FilePath.h"

#include "platform/win32/WideText.h"

namespace tavrel::hostmodel {

std::filesystem::path FileSystemPath(std::u16string_view path) { return platform::win32::Wide(path); }

}  // namespace tavrel::hostmodel
