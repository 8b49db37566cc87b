// The GDI that draws the host's metafiles: the system's in the win32 build,
// libEMF's implementation of the same calls natively. Only the metafile
// export includes this; its Windows type names clash with platform/Com.h.
#pragma once

#if defined(_WIN32)
#include <windows.h>
#else
#include <libEMF/emf.h>
#endif

#include <filesystem>

namespace tavrel::hostmodel {

// A metafile device context writing to `file`, whose picture frame is
// `frame` (0.01 mm); null on failure. Implemented per platform.
HDC CreateMetafileDc(const std::filesystem::path& file, const RECT& frame);

// Records a world transform scaling logical units by `devicePerLogical`
// onto the reference device (GDI needs the advanced graphics mode for it).
void SetDeviceScale(HDC dc, double devicePerLogical);

}  // namespace tavrel::hostmodel
