#include "tools/host/emf/Gdi.h"

namespace tavrel::hostmodel {

HDC CreateMetafileDc(const std::filesystem::path& file, const RECT& frame) {
  return CreateEnhMetaFileW(HDC{}, file.wstring().c_str(), &frame, L"Tavrel host\0Drawing\0");
}

}  // namespace tavrel::hostmodel
