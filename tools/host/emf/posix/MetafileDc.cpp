#include "tools/host/emf/Gdi.h"

namespace tavrel::hostmodel {

HDC CreateMetafileDc(const std::filesystem::path& file, const RECT& frame) {
  return CreateEnhMetaFileA(HDC{}, file.string().c_str(), &frame, "Tavrel host\0Drawing\0");
}

}  // namespace tavrel::hostmodel
