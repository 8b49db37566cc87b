#include "tools/host/emf/Gdi.h"

namespace tavrel::hostmodel {

HDC CreateMetafileDc(const std::filesystem::path& file, const RECT& frame) {
  return CreateEnhMetaFileW(HDC{}, file.wstring().c_str(), &frame, L"Tavrel host\0Drawing\0");
}

void SetDeviceScale(HDC dc, double devicePerLogical) {
  SetGraphicsMode(dc, GM_ADVANCED);
  XFORM scale{};
  scale.eM11 = static_cast<FLOAT>(devicePerLogical);
  scale.eM22 = static_cast<FLOAT>(devicePerLogical);
  SetWorldTransform(dc, &scale);
}

}  // namespace tavrel::hostmodel
