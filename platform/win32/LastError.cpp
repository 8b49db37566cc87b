#include "platform/LastError.h"

#include <windows.h>

namespace tavrel::platform {

uint32_t LastError() { return ::GetLastError(); }
void SetLastError(uint32_t code) { ::SetLastError(code); }

}  // namespace tavrel::platform
