#include "tools/host/emf/Gdi.h"

namespace tavrel::hostmodel {

HDC CreateMetafileDc(const std::filesystem::path& file, const RECT& frame) {
  return CreateEnhMetaFileA(HDC{}, file.string().c_str(), &frame, "Tavrel host\0Drawing\0");
}

void SetDeviceScale(HDC dc, double devicePerLogical) {
  XFORM scale{};
  scale.eM11 = static_cast<FLOAT>(devicePerLogical);
  scale.eM22 = static_cast<FLOAT>(devicePerLogical);
  SetWorldTransform(dc, &scale);
}

}  // namespace tavrel::hostmodel
